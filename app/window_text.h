#pragma once

#include <QString>

#include "res/string_table.h"

// A text of the string table, with its placeholders filled, as the window shows it.
inline QString window_text(int id, std::initializer_list<std::string_view> values = {})
{
    return QString::fromStdString(load_string(id, values));
}
