#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "sys/folder_rights.h"

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    bool close() {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
    }

private:
    int fd;
};

// Deeper than any folder the test leaves behind; bounds the descent through a hostile tree.
constexpr int kDepthLimit = 32;

std::vector<std::string> entry_names(int folder) {
    std::vector<std::string> names;
    const int copy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return names;
    DIR* listing = ::fdopendir(copy);
    if (!listing) {
        ::close(copy);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

// Empties a folder through its descriptor: links are removed as entries, never followed.
bool remove_contents(int folder, int depth) {
    if (depth > kDepthLimit) return false;
    bool all_gone = true;
    for (const std::string& name : entry_names(folder)) {
        if (::unlinkat(folder, name.c_str(), 0) == 0) continue;
        Descriptor sub(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!sub.valid() || !remove_contents(sub.get(), depth + 1) ||
            ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) != 0)
            all_gone = false;
    }
    return all_gone;
}

bool write_all(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

FolderRightsOutcome test_folder_rights(const std::string& parent, const std::string& folder_name,
                                       const std::string& file_name, const std::string& content) {
    FolderRightsOutcome outcome;
    outcome.file_delete_error = ENOENT;  // until the file is made there is nothing to delete
    Descriptor shared(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!shared.valid()) {
        outcome.folder_delete_error = errno;
        return outcome;
    }
    if (::mkdirat(shared.get(), folder_name.c_str(), 0700) != 0 && errno != EEXIST) {
        outcome.folder_delete_error = errno;
        return outcome;
    }
    // Opened by name again, the folder may be a link or another user's, planted or swapped in.
    Descriptor folder(
        ::openat(shared.get(), folder_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        outcome.folder_delete_error = errno;
        return outcome;
    }
    struct stat made {};
    if (::fstat(folder.get(), &made) != 0 || made.st_uid != ::geteuid() ||
        (made.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        outcome.folder_delete_error = EPERM;
        return outcome;
    }
    outcome.folder_created = true;

    // Nobody else can write in this folder, so a file of that name is an earlier run's.
    ::unlinkat(folder.get(), file_name.c_str(), 0);
    Descriptor file(::openat(folder.get(), file_name.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.valid()) {
        const bool written = write_all(file.get(), content);
        outcome.file_written = file.close() && written;
        outcome.file_deleted = ::unlinkat(folder.get(), file_name.c_str(), 0) == 0;
        outcome.file_delete_error = outcome.file_deleted ? 0 : errno;
    } else {
        outcome.file_delete_error = errno;
    }

    const bool emptied = remove_contents(folder.get(), 0);
    // The shared folder may have had the name swapped meanwhile: remove it only while it is ours.
    struct stat now {};
    if (::fstatat(shared.get(), folder_name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
        outcome.folder_delete_error = errno;
    } else if (now.st_dev != made.st_dev || now.st_ino != made.st_ino) {
        outcome.folder_delete_error = EPERM;
    } else if (::unlinkat(shared.get(), folder_name.c_str(), AT_REMOVEDIR) == 0) {
        outcome.folder_deleted = true;
    } else {
        outcome.folder_delete_error = emptied ? errno : ENOTEMPTY;
    }
    return outcome;
}
