#pragma once

// Texts of the window: its buttons, tabs, step captions, tooltips and messages, the about box, and
// the window program's own --help and --version.
namespace text {

enum : int {
    kAboutMenu = 101,  // the system menu's about item, among the table's first entries (string_table.cpp)

    // The window's own block.
    kStartButton = 501,
    kStopButton = 502,
    kCompletionMessage = 503,
    kNoFailures = 504,
    kStepIdle = 505,      // %1: the group's first item
    kStepChecking = 506,  // %1: the item being checked
    kStepPassed = 507,
    kStepFailed = 508,
    kStepStopped = 509,
    kHttpCode = 510,  // a failure without a message: %1 is its code
    kStartTooltip = 511,
    kSaveLogTooltip = 512,
    kCollecting = 513,
    kCloseQuestion = 514,
    kDefaultTitle = 515,  // the window's and the message box's title before a check list names the product
    kLogTab = 516,
    kResultTab = 517,
    kErrorCode = 518,  // the error-code tab and its first column
    kStepListCaption = 519,
    kSaveLogButton = 520,
    kAboutTitle = 521,
    kAboutText = 522,
    kOk = 523,
    kColumnContent = 524,
    kColumnDescription = 525,
    kWindowHelp = 526,     // checktool --help
    kWindowVersion = 527,  // checktool --version; %1: the version
};

}  // namespace text
