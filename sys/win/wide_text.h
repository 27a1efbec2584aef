#pragma once

#include <string>

// The core speaks UTF-8; the system's W calls speak UTF-16. Every Windows call converts at the call.
// Invalid sequences become U+FFFD rather than cutting the text short.
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
std::string narrow(const wchar_t* utf16);

// Text in a code page (a console's, such as 949 on Korean Windows) as UTF-8. Code page 65001 text
// is taken as it is.
std::string utf8_from_code_page(const std::string& bytes, unsigned code_page);
