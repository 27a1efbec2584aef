#include "bench/zip/log_folder_generator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "sys/fs_path.h"

namespace {

const char* const kLevels[] = {"[info]", "[info]", "[info]", "[warn]", "[error]", "[debug]", "[debug]"};
const char* const kFunctions[] = {"CSession::OnConnect", "CRelay::Handshake", "CAgent::SendScreen",
                                  "CViewer::OnInput",    "CUpdater::Check",   "CHttp::Request",
                                  "CFileSend::Chunk"};
const char* const kEvents[] = {
    "session %08X connected from %d.%d.%d.%d:%d",
    "relay handshake with gw-%02d finished in %d ms",
    "screen frame %d sent, %d bytes, quality %d",
    "input event %d from viewer %08X",
    "update check: server answered %d, next check in %d s",
    "GET /api/v1.0/quenmora/GetApiTest -> %d (%d ms)",
    "file chunk %d of %d queued (%d bytes)",
    "socket %d closed by peer, reason %d",
};

std::string log_line(std::mt19937& random, int day, int line) {
    char text[512];
    const int ms = line % 86400000;
    const int n =
        std::snprintf(text, sizeof text, "[2024/03/%02d %02d:%02d:%02d.%03d][][%d]%s %s ", day, ms / 3600000,
                      ms / 60000 % 60, ms / 1000 % 60, ms % 1000, 100 + static_cast<int>(random() % 900),
                      kLevels[random() % 7], kFunctions[random() % 7]);
    std::string out(text, static_cast<size_t>(n));
    const int r1 = static_cast<int>(random()), r2 = static_cast<int>(random() % 65536),
              r3 = static_cast<int>(random() % 5000);
    std::snprintf(text, sizeof text, kEvents[random() % 8], r1, r2 % 256, r3 % 256, r2 % 200, r3, r2);
    out += text;
    out += "\r\n";
    if (random() % 50 == 0) {  // a packet dump now and then
        for (int row = 0; row < 4; ++row) {
            for (int b = 0; b < 16; ++b) {
                std::snprintf(text, sizeof text, "%02X ", static_cast<unsigned>(random() % 256));
                out += text;
            }
            out += "\r\n";
        }
    }
    return out;
}

}  // namespace

bool generate_log_folder(const std::string& folder, uint64_t total_bytes, uint32_t seed) {
    namespace fs = std::filesystem;
    std::mt19937 random(seed);
    const int days = 28;
    const uint64_t per_file = total_bytes / days;
    int line = 0;
    for (int day = 1; day <= days; ++day) {
        const fs::path sub = fs_path(folder) / (day <= 14 ? "2024-02" : "2024-03");
        std::error_code ec;
        fs::create_directories(sub, ec);
        char name[64];
        std::snprintf(name, sizeof name, "agent_202403%02d.log", day);
        std::ofstream out(sub / name, std::ios::binary | std::ios::trunc);
        uint64_t written = 0;
        while (written < per_file) {
            const std::string text = log_line(random, day, line += 1237);
            out << text;
            written += text.size();
        }
        if (!out) return false;
    }
    return true;
}
