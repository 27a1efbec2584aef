#pragma once

#include <span>

// One block of the string table: an id and its UTF-8 text.
struct TextEntry {
    int id;
    const char* text;
};

// The blocks load_string looks in, one per subsystem or front end.
std::span<const TextEntry> first_texts();
std::span<const TextEntry> engine_texts();
std::span<const TextEntry> report_texts();
std::span<const TextEntry> window_texts();
std::span<const TextEntry> cli_texts();
std::span<const TextEntry> upload_texts();
