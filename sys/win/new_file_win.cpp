// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on

#include <climits>

#include "sys/new_file.h"
#include "sys/win/current_user.h"
#include "sys/win/wide_text.h"

namespace {

HANDLE handle_of(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

constexpr std::intptr_t kClosed = -1;  // INVALID_HANDLE_VALUE's value

}  // namespace

NewFile::~NewFile() {
    close();
}

bool NewFile::create(const std::string& path, bool owner_only) {
    close();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (owner_only) {
        // Full access for the user alone, nothing inherited from the folder.
        const std::string user = current_user_sid_text();
        const std::wstring rule = L"D:P(A;;FA;;;" + widen(user) + L")";
        if (user.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                                rule.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
            return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    // CREATE_NEW refuses any existing name, a link included, without following it.
    HANDLE file =
        CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, owner_only ? &attributes : nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (descriptor) LocalFree(descriptor);
    if (file == INVALID_HANDLE_VALUE) return false;
    native = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool NewFile::write(const void* data, size_t size) {
    if (native == kClosed) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > INT_MAX ? static_cast<DWORD>(INT_MAX) : static_cast<DWORD>(size);
        if (!WriteFile(handle_of(native), p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        size -= written;
    }
    return true;
}

bool NewFile::close() {
    if (native == kClosed) return true;
    const bool ok = FlushFileBuffers(handle_of(native)) && CloseHandle(handle_of(native));
    native = kClosed;
    return ok;
}

bool write_new_file(const std::string& path, const std::string& content, bool owner_only, bool replace_name) {
    const std::wstring wide = widen(path);
    if (replace_name) DeleteFileW(wide.c_str());  // removes a link itself, not its target
    NewFile file;
    if (!file.create(path, owner_only)) return false;
    const bool written = file.write(content.data(), content.size());
    if (file.close() && written) return true;
    DeleteFileW(wide.c_str());
    return false;
}

bool move_to_new_name(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING a taken name, a link included, fails the move.
    return MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}
