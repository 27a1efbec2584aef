#pragma once

#include <stop_token>
#include <string>

#include "engine/archive_upload.h"

// Sends the written archive on (--upload), on this thread. On a terminal, standard error shows one
// updating line of its progress; every retry is told there, and so is a failure or a stop, naming
// the archive that stays to be sent by hand. A stop request ends it at once. `archive_md5`: as
// upload_archive takes it.
UploadResult send_archive(const std::string& archive_path, const std::string& archive_md5,
                          const ArchiveUploadOptions& options, std::stop_token stop);
