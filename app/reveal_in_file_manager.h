#pragma once

#include <QString>

// Shows a file to the user in the desktop's file manager, selected when the file manager supports it;
// otherwise opens its folder. Does nothing without a display. Safe to call from any thread.
void reveal_in_file_manager(const QString& path);

// The platform's half, called only with a display: reveal_in_file_manager_posix.cpp asks the desktop's
// file manager over D-Bus (else opens the folder), reveal_in_file_manager_win.cpp starts Explorer.
void show_in_file_manager(const QString& path);
