#pragma once

#include "app/single_instance.h"
#include "engine/archive_upload.h"

// The application object: one copy per user, the locale, the log's start block, then the main
// diagnosis window until it closes.
class CTarvoCheckToolApp {
public:
    enum class Outcome { kRan, kOtherCopyRuns };

    // Runs the tool on the existing QApplication. A later copy returns kOtherCopyRuns at once, having
    // brought the first copy's window forward; it has shown nothing and logged nothing.
    // upload: where "로그 저장" sends each archive it writes (none when empty).
    Outcome InitInstance(const ArchiveUploadOptions& upload = {});

private:
    SingleInstance instance_;
};
