#pragma once

#include "engine/save_log.h"

class CTarvoCheckToolDlg;

// Shows a log collection in the main window: the window deaf to input (it looks unchanged), the
// progress window stepping, messages in the window's message box, and the archive revealed in the
// file manager at the end.
class WindowSaveLogObserver : public SaveLogObserver {
public:
    explicit WindowSaveLogObserver(CTarvoCheckToolDlg& window) : window_(window) {}

    void set_window_enabled(bool enabled) override;
    void step_progress() override;
    void pack_progress(uint64_t done, uint64_t total) override;
    void finish_progress() override;
    void show_message(const std::string& text) override;
    void reveal_archive(const std::string& archive_path) override;

private:
    CTarvoCheckToolDlg& window_;
};
