#pragma once

// Texts of the reports: the summary page's words, the diagnosis-log columns it shares with the window,
// the messages when a report file cannot be made, and why a file could not be packed or redacted.
// The summary page takes these texts as they are, into element content: they hold no markup
// characters (<, &).
namespace text {

enum : int {
    kColumnCategory = 401,
    kColumnTime = 402,
    kColumnTarget = 403,
    kColumnPort = 404,
    kColumnElapsed = 405,
    kColumnResult = 406,
    kColumnNote = 407,
    kReportNotCreated = 408,
    kInventoryNotCreated = 409,
    kUnknown = 410,
    kVerdictNoCheck = 411,
    kVerdictStopped = 412,
    kVerdictAllPassed = 413,
    kVerdictSomeFailed = 414,  // %1: failed, %2: all
    kRunTime = 415,
    kTimeUnknown = 416,
    kPageHeading = 417,  // %1: the product
    kPageTitle = 418,
    kHeaderFacts = 419,  // %1: the tool's version, %2: the run's times, %3: the host
    kFailures = 420,
    kUsuallyMeans = 421,
    kNoCheckFailed = 422,
    kTryFigures = 423,  // the fastest, median and slowest try
    kResults = 424,
    kMessage = 425,
    kTries = 426,
    kTryFiguresColumn = 427,
    kConnections = 430,
    kCheck = 431,
    kProxy = 432,
    kCertificateSubject = 433,
    kIssuer = 434,
    kValid = 435,
    kSha256 = 436,
    kVerifies = 437,
    kNote = 438,
    kDirect = 439,
    kYes = 440,
    kNo = 441,
    kNotVerified = 442,
    kOtherIssuer = 443,
    kRunAndMachine = 445,
    kProduct = 446,
    kToolVersion = 447,
    kToolBuilt = 448,
    kRunStarted = 449,
    kRunEnded = 450,
    kHostName = 451,
    kOperatingSystem = 452,
    kElevated = 453,
    kMemory = 454,
    kDisk = 455,  // %1: the disk's path
    kFolderRights = 456,
    kNotTested = 457,
    kFile = 460,
    kReason = 461,
    kBundle = 462,        // the archive that holds a file: the bundle itself
    kFoldedFolder = 463,  // %1: the folder, %2: its files, %3: their bytes
    kFilesPacked = 465,
    kName = 466,
    kIn = 467,
    kSizeBytes = 468,
    kModified = 469,
    kFilesNotPacked = 470,
    kEveryFilePacked = 471,
    kFilesUnredacted = 472,
    kFooter = 475,  // %1: the product, %2: the tool's version
    kTriesChart = 478,
    kTryBar = 479,  // %1: the try, %2: its time, %3: its result
    kTooLargeUnpacked = 480,
    kNestedTooDeep = 481,
    kGzipUnreadable = 482,
    kZipEntriesUnreadable = 483,
    kZipUnreadable = 484,
    kZipOkText = 485,
    kZipCannotOpenText = 486,
    kZipWriteFailedText = 487,
    kZipBadArgumentText = 488,
    kZipTooLargeText = 489,
    kZipNotCreatedText = 490,
    kZipPastLimitText = 491,
    kZipNotRegularFileText = 492,
    kZipStoppedText = 493,
    kZipUnknownText = 494,
};

}  // namespace text
