#include "report/zip_temp_copy.h"

#include <filesystem>
#include <system_error>

#include "report/zip_file_io.h"
#include "sys/fs_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTempCopyName = "_temp_zip_file_.tmp";

// The archive's folder, where the copy goes.
std::string folder_of(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

}  // namespace

ZipTempCopy::ZipTempCopy(const std::string& source_path, const std::string& archive_path) {
    std::error_code ec;
    if (!fs::is_regular_file(fs_path(source_path), ec)) return;  // a pipe would block the copy
    const fs::path copy = fs_path(folder_of(archive_path)) / kTempCopyName;
    // A copy an earlier run left behind goes first; whatever stands there then is never written through.
    fs::remove(copy, ec);
    if (copy_held_file(source_path, utf8_of(copy))) copy_path = utf8_of(copy);
}

ZipTempCopy::~ZipTempCopy() {
    std::error_code ec;
    if (made()) fs::remove(fs_path(copy_path), ec);
}
