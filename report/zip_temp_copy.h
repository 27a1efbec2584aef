#pragma once

#include <string>

// A copy of a file its writer holds open, made beside the archive so that it can be packed, and
// deleted again when this object goes. The copy takes the original's modification time, so that the
// entry tells when the log was last written, not when it was copied.
class ZipTempCopy {
public:
    ZipTempCopy(const std::string& source_path, const std::string& archive_path);
    ~ZipTempCopy();
    ZipTempCopy(const ZipTempCopy&) = delete;
    ZipTempCopy& operator=(const ZipTempCopy&) = delete;

    bool made() const { return !copy_path.empty(); }
    const std::string& path() const { return copy_path; }

private:
    std::string copy_path;
};
