#pragma once

#include <QString>

// Shows a file to the user in the desktop's file manager, selected when the file manager supports it;
// otherwise opens its folder. Does nothing without a display. Safe to call from any thread.
void reveal_in_file_manager(const QString& path);
