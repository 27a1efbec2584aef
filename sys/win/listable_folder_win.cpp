#include <windows.h>

#include "sys/listable_folder.h"
#include "sys/win/wide_text.h"

bool folder_can_be_listed(const std::string& folder) {
    // The listing makes the path absolute into a MAX_PATH buffer and then adds "\*".
    const DWORD needed = GetFullPathNameW(widen(folder).c_str(), 0, nullptr, nullptr);
    return needed != 0 && needed + 2 <= MAX_PATH;
}
