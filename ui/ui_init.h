#pragma once

// Call once after the QApplication exists: registers the library's resources (it is a static library, so
// they are not registered by themselves) and sets the Korean UI font as the application font.
void InitControlLibrary();
