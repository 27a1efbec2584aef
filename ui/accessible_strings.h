#pragma once

#include <QString>

// Texts the controls give screen readers and UI automation, and the keyboard's menu items, beyond
// what they draw: ids of the program's string table (res/).
enum AccessibleStringId {
    kStrStepWaiting = 201,
    kStrStepCurrent = 202,
    kStrStepPassed = 203,
    kStrStepFailed = 204,
    kStrStepStopped = 205,
    kStrDiagnosisRunning = 206,
    kStrDiagnosisIdle = 207,
    kStrMinimize = 208,
    kStrMaximize = 209,
    kStrRestore = 210,
    kStrClose = 211,
    kStrKeepOnTop = 212,
    kStrHelp = 213,
    kStrCaptionButtons = 214,
    kStrRunProgress = 215,
    kStrLogCollection = 216,
    kStrLogCollectionProgress = 217,
    kStrClosesInSeconds = 218,  // %1: seconds
    kStrSortByColumn = 219,     // %1: the column's label
    kStrMenuMinimize = 220,
    kStrMenuClose = 221,
};

QString AccessibleString(AccessibleStringId id);

// The name of a caption button's window command (minimise, maximise or restore, close, keep on top,
// help); empty for another command.
QString WindowCommandName(int command, bool window_maximized);
