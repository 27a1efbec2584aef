#pragma once

// Texts of sending the support bundle on to the support desk's storage: the command line's, then the
// window's. An address is only ever given in its shown form ("https://host/path?…").
namespace text {

enum : int {
    kUploadOutcomeLine = 600,  // %1 host, %2 HTTP status, %3 bytes, %4 seconds, %5 md5 | none
    kUploadFailed = 601,       // %1 why, %2 the archive
    kUploadStopped = 602,      // %1 the archive
    kUploadRetrying = 603,     // %1 attempt, %2 seconds, %3 why the last one failed
    kUploadFlagNeedsUpload = 604,  // %1 the flag
    kUploadUnusableAddress = 605,  // %1 the address shown, %2 why
    kUploadSending = 606,      // %1 host
    kUploadSent = 607,         // %1 host, %2 HTTP status, %3 bytes, %4 seconds, %5 what was verified
    kUploadNotSent = 608,      // %1 why, %2 the archive
    kUploadVerifiedMd5 = 610,
    kUploadNotVerified = 611,
    kFlagUpload = 613,
    kFlagUploadHeader = 614,
    kFlagUploadCa = 615,
    kExitUploadFailed = 616,
    kUploadUnusableHeader = 617,  // %1 why
};

}  // namespace text
