#pragma once

// Texts of the command line: its help, version, usage errors and what it prints of a run and a
// bundle. Scripts read the lines of a bundle ("archive: …"): keep their beginnings as they are.
namespace text {

enum : int {
    kUsage = 701,  // %1: the flags, each in brackets
    kHelpAbout = 702,
    kHelpOptions = 703,
    kHelpExitStatus = 704,
    kHelpMore = 705,  // the help's environment, output and manual page
    kVersion = 706,
    kFlagWebHost = 711,
    kFlagWebPort = 712,
    kFlagJson = 713,
    kFlagCheckList = 714,
    kFlagSaveLog = 715,
    kFlagRedact = 716,
    kFlagRedactDropBinary = 717,
    kFlagSince = 718,
    kFlagMaxFileSize = 719,
    kFlagHelp = 720,
    kFlagVersion = 721,
    kExitAllPassed = 725,
    kExitSomeFailed = 726,
    kExitCheckListUnusable = 727,
    kExitNoArchive = 728,
    kExitUsage = 729,
    kExitUnexpectedFailure = 730,
    kExitStopped = 731,
    kRunTotals = 740,  // %3: kRunStoppedMark or nothing
    kRunStoppedMark = 741,
    kArchiveLine = 742,
    kSha256Line = 743,
    kRedactionMapLine = 744,
    kNotPackedLine = 745,  // %1: the file, %2: why
    kPackedUnredactedLine = 746,
    kNotAPort = 750,
    kBadSince = 751,
    kBadMaxFileSize = 752,
    kNeedsValue = 753,  // %1: the flag
    kUnknownArgument = 754,
    kBundleFlagAlone = 755,
    kCollectionStopped = 760,
    kNoLogArchive = 761,
    kLeftBehind = 762,
};

}  // namespace text
