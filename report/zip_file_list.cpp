#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <thread>

#include "report/zip_pack_plan.h"
#include "report/zip_parallel_pack.h"
#include "report/zip_temp_copy.h"
#include "report/zip_writer.h"
#include "report/zip_writer_state.h"
#include "sys/fs_path.h"

namespace {

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

// The entries in archive order: a folder entry before the first file of each subfolder.
std::vector<ZipListItem> plan_items(const std::string& root, const std::string& base_folder,
                                    const std::vector<std::string>& files) {
    std::vector<ZipListItem> items;
    if (!root.empty()) items.push_back({root, {}});
    std::string base = base_folder;
    if (base.empty() || !is_separator(base.back())) base += '/';
    std::set<std::string> folders_added;  // one entry per subfolder, however many files it holds
    for (const std::string& path : files) {
        // Only the leading base is cut: the same text deeper in the path belongs to the name.
        std::string relative = path.compare(0, base.size(), base) == 0 ? path.substr(base.size()) : path;
        relative.erase(0, relative.find_first_not_of("/\\"));
        size_t last = relative.find_last_of("/\\");
        if (last != std::string::npos && last > 0) {
            std::string sub = relative.substr(0, last);
            std::string folder = root.empty() ? sub : root + "/" + sub;
            if (folders_added.insert(folder).second) items.push_back({folder, {}});
        }
        items.push_back({root.empty() ? relative : root + "/" + relative, path});
    }
    return items;
}

uint64_t total_size(const std::vector<std::string>& files) {
    uint64_t total = 0;
    for (const std::string& path : files) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(fs_path(path), ec);
        if (!ec) total += size;
    }
    return total;
}

// Everything on the calling thread, one entry after the other.
void pack_in_order(ZipHandle zip, const std::vector<ZipListItem>& items, const std::string& archive_path,
                   ZipPackProgress& progress, std::vector<ZipFileFailure>* failures) {
    zip->on_read = [&progress](uint64_t bytes) { progress.add(bytes); };
    for (const ZipListItem& item : items) {
        if (zip->stop.stop_requested()) break;
        if (item.folder()) {
            ZipAddFolder(zip, item.entry_name);
            continue;
        }
        int result = ZipAddFile(zip, item.entry_name, item.path);
        if (result == kZipCannotOpen) {
            const ZipTempCopy copy(item.path, archive_path);
            result = zip_finish(copy.made() ? ZipAddFile(zip, item.entry_name, copy.path()) : kZipCannotOpen);
        }
        if (result != kZipOk && failures) failures->push_back({item.path, result});
    }
    zip->on_read = nullptr;
}

}  // namespace

int zip_worker_count(int requested) {
    if (requested > 0) return std::min(requested, kZipMaxWorkers);
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, kZipMaxWorkers);
}

int ZipFileList(const std::string& root, const std::string& base_folder, const std::string& archive_path,
                const std::vector<std::string>& files, std::vector<ZipFileFailure>* failures,
                const ZipPackOptions& options) {
    ZipHandle zip = ZipCreate(archive_path, options.stop);
    if (!zip) return zip_finish(kZipNotCreated);
    zip->max_source_bytes = options.max_file_bytes;
    const std::vector<ZipListItem> items = plan_items(root, base_folder, files);
    ZipPackProgress progress(options.progress, total_size(files));
    const int workers = zip_worker_count(options.workers);
    if (workers == 1)
        pack_in_order(zip, items, archive_path, progress, failures);
    else
        zip_pack_in_parallel(*zip, items, workers, options.chunk_bytes, archive_path, progress, failures);
    if (options.stop.stop_requested()) {
        ZipDiscard(zip);
        return zip_finish(kZipStopped);
    }
    return ZipClose(zip);
}
