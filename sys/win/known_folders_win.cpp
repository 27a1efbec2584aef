// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include "sys/folders.h"
#include "sys/win/wide_text.h"

namespace {

std::string known_folder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    // KF_FLAG_DONT_VERIFY: the folder is reported, not created.
    const HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
    std::string folder = SUCCEEDED(result) ? narrow(path) : std::string();
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::string get_special_folder(int csidl) {
    switch (csidl) {
        case kPersonal:
            return known_folder(FOLDERID_Documents);
        case kLocalAppData:
            return known_folder(FOLDERID_LocalAppData);
        case kCommonDocuments:
            return known_folder(FOLDERID_PublicDocuments);
        default:
            return {};
    }
}
