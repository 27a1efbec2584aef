#pragma once

#include <string>
#include <vector>

#include "engine/save_log.h"

// A log collection's observer that only keeps the messages it was shown.
class QuietObserver : public SaveLogObserver {
public:
    void set_window_enabled(bool) override {}
    void step_progress() override {}
    void finish_progress() override {}
    void show_message(const std::string& text) override { messages.push_back(text); }
    void reveal_archive(const std::string&) override {}
    std::vector<std::string> messages;
};
