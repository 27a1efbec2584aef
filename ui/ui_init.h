#pragma once

// Call once after the QApplication exists: sets the Korean UI font as the application font and hands
// the core the screens as its monitor list.
// (The library's resources register themselves; see ui/CMakeLists.txt.)
void InitControlLibrary();
