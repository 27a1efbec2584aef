#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "report/zip_file_io.h"
#include "sys/fs_path.h"

namespace {

// Retries interrupted writes and short writes until everything is out.
bool write_all(int fd, const void* data, size_t size, off_t offset, bool positioned) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = positioned ? ::pwrite(fd, p, size, offset) : ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

// Only another holder of the lock counts: a file system without locks does not make files unreadable.
bool lock_or_unsupported(int fd, int operation) {
    return ::flock(fd, operation | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

int fd_of(std::intptr_t native) {
    return static_cast<int>(native);
}

}  // namespace

ZipSourceFile::~ZipSourceFile() {
    close();
}

bool ZipSourceFile::open(const std::string& path, bool writers_too) {
    close();
    refused_not_regular = false;
    read_limit = kNoLimit;
    taken = 0;
    // Non-blocking, so that a named pipe without a writer cannot stall the open; anything but a
    // regular file is refused below, before any read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    native = fd;
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0) {
        close();
        return false;
    }
    refused_not_regular = !S_ISREG(stx.stx_mode);
    const bool ok = !refused_not_regular && (writers_too || lock_or_unsupported(fd, LOCK_SH)) &&
                    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (!ok) {
        close();
        return false;
    }
    source_facts.size = stx.stx_size;
    source_facts.read_only = (stx.stx_mode & S_IWUSR) == 0;
    source_facts.modified = stx.stx_mtime.tv_sec;
    source_facts.accessed = stx.stx_atime.tv_sec;
    source_facts.created = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_ctime.tv_sec;
    return true;
}

long long ZipSourceFile::read_native(void* buffer, size_t size) {
    for (;;) {
        ssize_t n = ::read(fd_of(native), buffer, size);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

long long ZipSourceFile::read_at(uint64_t offset, void* buffer, size_t size) {
    for (;;) {
        ssize_t n = ::pread(fd_of(native), buffer, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

void ZipSourceFile::close() {
    if (native >= 0) ::close(fd_of(native));  // closing drops the lock
    native = -1;
}

ZipArchiveFile::~ZipArchiveFile() {
    close();
}

bool ZipArchiveFile::create(const std::string& path) {
    close();
    // Lock before truncating: an archive that another writer holds must not be clobbered.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    native = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !lock_or_unsupported(fd, LOCK_EX) ||
        ::ftruncate(fd, 0) != 0) {
        close();
        return false;
    }
    return true;
}

bool ZipArchiveFile::write(const void* data, size_t size) {
    return write_all(fd_of(native), data, size, 0, false);
}

bool ZipArchiveFile::write_at(uint64_t offset, const void* data, size_t size) {
    return write_all(fd_of(native), data, size, static_cast<off_t>(offset), true);
}

bool ZipArchiveFile::truncate(uint64_t length) {
    const int fd = fd_of(native);
    return ::ftruncate(fd, static_cast<off_t>(length)) == 0 &&
           ::lseek(fd, static_cast<off_t>(length), SEEK_SET) == static_cast<off_t>(length);
}

bool ZipArchiveFile::close() {
    if (native < 0) return true;
    const bool ok = ::close(fd_of(native)) == 0;
    native = -1;
    return ok;
}

// Advisory locks bind only those who ask for them, so a plain copy reads a file its writer holds.
bool copy_held_file(const std::string& source_path, const std::string& copy_path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_time_type modified = fs::last_write_time(fs_path(source_path), ec);
    // Without overwrite the target is created exclusively: an existing file or link there fails.
    if (ec || !fs::copy_file(fs_path(source_path), fs_path(copy_path), fs::copy_options::none, ec))
        return false;
    fs::last_write_time(fs_path(copy_path), modified, ec);
    if (!ec) return true;
    fs::remove(fs_path(copy_path), ec);
    return false;
}
