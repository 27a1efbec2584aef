#pragma once

#include <cstdint>
#include <string>

// The one line a terminal shows while an upload runs: "45.3MB of 200MB (22%), 12.1MB/s, 0:13 left".
// Rate and time left come from the average since the start, once some bytes and a tenth of a second
// have gone by.
std::string upload_progress_text(std::int64_t sent, std::int64_t total, double seconds);
