#pragma once

// Texts of the engine: check-list failures, item names, row cells, why a file stays out of the
// bundle, and what a result code usually means.
namespace text {

enum : int {
    // The result codes' messages, among the table's first entries (string_table.cpp).
    kResultOkText = 102,
    kNoServerInfoText = 103,
    kSocketCreateText = 104,
    kConnectText = 105,
    kSendStartText = 106,
    kRecvStartText = 107,
    kBadReplyText = 108,
    kCryptInitText = 109,
    kCancelledText = 110,
    kNotAdminText = 111,
    kArchiveNotCreatedBelowPath = 112,  // shown below the archive's path, also a first entry

    // The engine's own block.
    kCheckListNotDownloaded = 301,  // %1: the HTTP status
    kCheckListTooLarge = 302,
    kCheckListNotJson = 303,
    kCheckListFileNotLoaded = 304,  // %1: the path, %2: why not
    kProductTitleEmpty = 305,
    kAgentPathEmpty = 306,
    kViewerPathEmpty = 307,
    kAgentLogPathEmpty = 308,
    kFileNotRegular = 309,
    kFileNotFound = 310,
    kFileNotReadable = 311,
    kFileLargerThan = 312,
    kAccountItemName = 320,
    kAccountTarget = 321,   // the account row's target
    kServerItemName = 322,  // %1: the kind's name
    kKindApi = 323,
    kKindGateway = 324,
    kKindProxy = 325,
    kKindSession = 326,
    kKindUpdate = 327,
    kKindWeb = 328,
    kRowOk = 330,
    kRowFail = 331,
    kRowMilliseconds = 332,
    kDefaultMessageTitle = 335,
    kToolCaption = 336,    // %1: the product, %2: the tool's version
    kFolderMissing = 340,  // shown below the folder's path
    kLargerThanLimit = 341,
    kModifiedTimeUnknown = 342,
    kNotModifiedSince = 343,
    kGrewPastLimit = 344,
    kNoRedactedCopyFolder = 345,
    kBinaryLeftOut = 346,
    kReasonLeftOut = 347,  // %1: why it is not text
    kRedactedCopyNotWritten = 348,
    kNotAddedToBundle = 349,
    kNotWritten = 350,
    kNotRedacted = 351,
    kChecksumNotWritten = 352,  // %1: the archive
    kRedactionMapNotWritten = 353,
    kNoLogFolderNamed = 354,
    kLogFolderMissing = 355,
    kLinkNotFollowed = 356,  // %1: the kind of link
    kNotPacked = 357,
    kFolderArchiveNotWritten = 358,
    kNoCollectionFolder = 359,
    kNoWorkingFolder = 360,
    kNoProgramFolderNamed = 361,
    kProgramFolderMissing = 362,
    kArchiveNotCreated = 363,
    kArchiveNotFinished = 364,
    kArchiveNotMoved = 365,
    kMeaningCancelled = 370,
    kMeaningNotAdmin = 371,
    kMeaningNoServerInfo = 372,
    kMeaningSocketCreate = 373,
    kMeaningConnect = 374,
    kMeaningSendStart = 375,
    kMeaningRecvStart = 376,
    kMeaningBadReply = 377,
    kMeaningCryptInit = 378,
    kMeaningHttp301 = 379,
    kMeaningHttp302 = 380,
    kMeaningHttp307 = 381,
    kMeaningHttp400 = 382,
    kMeaningHttp401 = 383,
    kMeaningHttp403 = 384,
    kMeaningHttp404 = 385,
    kMeaningHttp407 = 386,
    kMeaningHttp408 = 387,
    kMeaningHttp429 = 388,
    kMeaningHttp500 = 389,
    kMeaningHttp502 = 390,
    kMeaningHttp503 = 391,
    kMeaningHttp504 = 392,
    kMeaningHttpServerError = 393,
    kMeaningHttpClientError = 394,
    kMeaningHttpRedirect = 395,
    kMeaningHttpOther = 396,
    kHttpStatus = 397,       // the message of a code that is an HTTP status
    kHttpClientError = 398,  // the message of a code of the HTTP client
};

}  // namespace text
