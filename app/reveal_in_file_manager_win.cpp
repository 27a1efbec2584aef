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

// Explorer from the Windows folder, never one found in the current folder or on the search path;
// empty when that folder is unknown.
std::wstring explorer_program()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder, length) + L"\\explorer.exe";
}

}  // namespace

void show_in_file_manager(const QString& path)
{
    const std::wstring program = explorer_program();
    if (program.empty())
        return;
    // The shell wants COM on the calling thread; the save-log worker calls from its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring parameters = explorer_select_parameters(path);
    ShellExecuteW(nullptr, L"open", program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com))
        CoUninitialize();
}
