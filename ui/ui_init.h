#pragma once

// Call once after the QApplication exists: sets the Korean UI font as the application font, hands
// the core the screens as its monitor list and opens the controls to screen readers.
// (The library's resources register themselves; see ui/CMakeLists.txt.)
void InitControlLibrary();
