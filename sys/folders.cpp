#include "sys/folders.h"

#include <system_error>

#include "sys/fs_path.h"

std::string expand_user_documents(const std::string& path) {
    static const std::string kToken = "__user_documents_folder__";
    if (path.compare(0, kToken.size(), kToken) != 0) return path;
    std::string documents = get_special_folder(kPersonal);
    std::string expanded;
    size_t from = 0;
    for (size_t at = path.find(kToken); at != std::string::npos; at = path.find(kToken, from)) {
        expanded.append(path, from, at - from);
        expanded += documents;
        from = at + kToken.size();
    }
    expanded.append(path, from, std::string::npos);
    return expanded;
}

bool delete_folder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::path target = fs_path(path);
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec))) return false;
    std::filesystem::remove_all(target, ec);
    return !ec;
}
