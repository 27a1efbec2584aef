#include <filesystem>
#include <system_error>

#include "sys/folder_listing.h"
#include "sys/fs_path.h"

std::vector<FolderEntry> list_folder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::error_code ec;
    std::filesystem::directory_iterator it(fs_path(folder),
                                           std::filesystem::directory_options::skip_permission_denied, ec);
    // A folder that cannot be read, or vanishes meanwhile, simply gives nothing more.
    for (std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code status_ec;
        FolderEntry entry;
        entry.name = utf8_of(it->path().filename());
        entry.symlink = it->is_symlink(status_ec);
        entry.folder = it->is_directory(status_ec);
        entries.push_back(std::move(entry));
    }
    return entries;
}
