#pragma once

#include <stop_token>
#include <string>

#include "engine/archive_upload.h"

class CTarvoCheckToolDlg;
class SaveLogObserver;

// Sends the archive "로그 저장" has just written on to the support desk, from the collection's thread:
// the progress window says so and its bar moves with the bytes sent, then the window's message box
// tells how it went (nothing after a stop: the user closed the window). The archive stays.
// `archive_md5`: as upload_archive takes it.
void upload_in_window(CTarvoCheckToolDlg& window, SaveLogObserver& observer, const std::string& archive_path,
                      const std::string& archive_md5, const ArchiveUploadOptions& options, std::stop_token stop);
