#pragma once

#include <QIcon>

// The tool's own icon; the products' icons are 163 and 164 (chosen with the product family).
inline constexpr int kAppIconId = 166;

// An icon resource of the program by number.
QIcon app_icon(int id);
