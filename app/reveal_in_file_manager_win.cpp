#include "app/reveal_in_file_manager.h"

// <windows.h> must precede the other system headers.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

#include <QDir>
#include <QFileInfo>

#include <string>

namespace {

// Explorer opens the file's folder with the file selected. Quoted, so that a comma in the path does not
// end it.
std::wstring explorer_select_parameters(const QString& path)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return L"/select,\"" + native.toStdWString() + L"\"";
}

}  // namespace

void show_in_file_manager(const QString& path)
{
    // The shell wants COM on the calling thread; the save-log worker calls from its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring parameters = explorer_select_parameters(path);
    ShellExecuteW(nullptr, L"open", L"explorer", parameters.c_str(), nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com))
        CoUninitialize();
}
