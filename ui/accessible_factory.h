#pragma once

// Lets screen readers and UI automation see into the control library's self-drawn controls: the list's
// rows and cells, the steps, the labels' texts, the caption buttons, the message box and the progress
// window. Once per process, after the QApplication exists (InitControlLibrary does it).
void InstallAccessibleFactory();
