#include <windows.h>

#include <climits>

#include "report/zip_file_io.h"
#include "sys/win/wide_text.h"

namespace {

HANDLE handle_of(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

constexpr std::intptr_t kClosed = -1;  // INVALID_HANDLE_VALUE's value

// Seconds since 1970 from a file time (100 ns steps since 1601).
int64_t unix_seconds(const FILETIME& time) {
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

OVERLAPPED at_offset(uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

DWORD chunk(size_t size) {
    return size > INT_MAX ? static_cast<DWORD>(INT_MAX) : static_cast<DWORD>(size);
}

// A positioned transfer on a synchronous handle moves the file pointer; callers of read_at and
// write_at expect the sequential position to stay, so it is put back.
class KeepPosition {
public:
    explicit KeepPosition(HANDLE file) : file(file) {
        kept = SetFilePointerEx(file, {}, &position, FILE_CURRENT);
    }
    ~KeepPosition() {
        if (kept) SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    }
    KeepPosition(const KeepPosition&) = delete;
    KeepPosition& operator=(const KeepPosition&) = delete;

private:
    HANDLE file;
    LARGE_INTEGER position{};
    bool kept = false;
};

bool write_all(HANDLE file, const void* data, size_t size, const uint64_t* offset) {
    const char* p = static_cast<const char*>(data);
    uint64_t at = offset ? *offset : 0;
    while (size > 0) {
        DWORD written = 0;
        OVERLAPPED where = at_offset(at);
        if (!WriteFile(file, p, chunk(size), &written, offset ? &where : nullptr) || written == 0)
            return false;
        p += written;
        size -= written;
        at += written;
    }
    return true;
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
    // Readers may share; a writer, or anyone who locked the file against reading, keeps us out unless
    // writers_too. Opening never waits: a pipe without a free instance fails at once.
    const DWORD share = writers_too ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ;
    const std::wstring name = widen(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A folder cannot be opened this way; it is no file, as on POSIX.
        const DWORD attributes = GetFileAttributesW(name.c_str());
        refused_not_regular = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return false;
    }
    native = reinterpret_cast<std::intptr_t>(file);
    BY_HANDLE_FILE_INFORMATION info{};
    // A pipe, a console or a device such as a folder's "nul" is no disk file.
    refused_not_regular = GetFileType(file) != FILE_TYPE_DISK;
    if (refused_not_regular || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        close();
        return false;
    }
    source_facts.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    source_facts.read_only = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    source_facts.modified = unix_seconds(info.ftLastWriteTime);
    source_facts.accessed = unix_seconds(info.ftLastAccessTime);
    source_facts.created = unix_seconds(info.ftCreationTime);
    return true;
}

long long ZipSourceFile::read_native(void* buffer, size_t size) {
    DWORD got = 0;
    if (!ReadFile(handle_of(native), buffer, chunk(size), &got, nullptr)) return -1;
    return got;
}

long long ZipSourceFile::read_at(uint64_t offset, void* buffer, size_t size) {
    KeepPosition keep(handle_of(native));
    OVERLAPPED where = at_offset(offset);
    DWORD got = 0;
    if (!ReadFile(handle_of(native), buffer, chunk(size), &got, &where))
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return got;
}

void ZipSourceFile::close() {
    if (native != kClosed) CloseHandle(handle_of(native));
    native = kClosed;
}

ZipArchiveFile::~ZipArchiveFile() {
    close();
}

bool ZipArchiveFile::create(const std::string& path) {
    close();
    // Others may read the archive while it grows but not write it. Opened without truncating, so that
    // an archive another writer holds is refused before anything is lost.
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    native = reinterpret_cast<std::intptr_t>(file);
    if (GetFileType(file) != FILE_TYPE_DISK || !truncate(0)) {
        close();
        return false;
    }
    return true;
}

bool ZipArchiveFile::write(const void* data, size_t size) {
    return write_all(handle_of(native), data, size, nullptr);
}

bool ZipArchiveFile::write_at(uint64_t offset, const void* data, size_t size) {
    KeepPosition keep(handle_of(native));
    return write_all(handle_of(native), data, size, &offset);
}

bool ZipArchiveFile::truncate(uint64_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(handle_of(native), at, nullptr, FILE_BEGIN) && SetEndOfFile(handle_of(native));
}

bool ZipArchiveFile::close() {
    if (native == kClosed) return true;
    const bool ok = CloseHandle(handle_of(native)) != 0;
    native = kClosed;
    return ok;
}

// CopyFileW lets in a source whose writer shares it for reading, and keeps its time stamps; told to
// fail when the target exists, it never replaces one.
bool copy_held_file(const std::string& source_path, const std::string& copy_path) {
    return CopyFileW(widen(source_path).c_str(), widen(copy_path).c_str(), TRUE) != 0;
}
