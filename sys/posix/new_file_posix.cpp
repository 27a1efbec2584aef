#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "sys/new_file.h"

NewFile::~NewFile() {
    close();
}

bool NewFile::create(const std::string& path, bool owner_only) {
    close();
    const mode_t mode = owner_only ? 0600 : 0644;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) return false;
    native = fd;
    return true;
}

bool NewFile::write(const void* data, size_t size) {
    if (native < 0) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(static_cast<int>(native), p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool NewFile::close() {
    if (native < 0) return true;
    const int result = ::close(static_cast<int>(native));
    native = -1;
    return result == 0;
}

bool write_new_file(const std::string& path, const std::string& content, bool owner_only, bool replace_name) {
    if (replace_name) ::unlink(path.c_str());  // removes a link itself, not its target
    NewFile file;
    if (!file.create(path, owner_only)) return false;
    const bool written = file.write(content.data(), content.size());
    if (file.close() && written) return true;
    ::unlink(path.c_str());
    return false;
}

bool move_to_new_name(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot rename without replacing: a second link fails just as surely on a
    // taken name.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}
