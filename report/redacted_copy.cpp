#include "report/redacted_copy.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "report/redactor.h"
#include "sys/fs_path.h"
#include "sys/new_file.h"

namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr size_t kLongestLine = 1024 * 1024;
constexpr size_t kSniffBytes = 8 * 1024;

bool is_utf8_continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How much of pending can be redacted now: up to the last line end; for a line past the limit, up to
// its last blank or, lacking one, up to a character boundary.
size_t complete_part(const std::string& pending, bool at_end) {
    if (at_end) return pending.size();
    const size_t line_end = pending.rfind('\n');
    if (line_end != std::string::npos) return line_end + 1;
    if (pending.size() < kLongestLine) return 0;
    const size_t blank = pending.find_last_of(" \t");
    if (blank != std::string::npos) return blank + 1;
    // Keep the last character, which may still be incomplete, for the next round.
    size_t cut = pending.size() - 1;
    while (cut > 0 && is_utf8_continuation(pending[cut])) --cut;
    return cut > 0 ? cut : pending.size();
}

void remove_file(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(fs_path(path), ec);
}

}  // namespace

bool looks_binary(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    if (!in) return true;
    std::string head(kSniffBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    if (in.bad()) return true;
    head.resize(static_cast<size_t>(in.gcount()));
    return head.find('\0') != std::string::npos;
}

bool write_redacted_copy(Redactor* redactor, const std::string& source, const std::string& destination) {
    std::ifstream in(fs_path(source), std::ios::binary);
    if (!in) return false;
    NewFile out;
    if (!out.create(destination, false)) return false;
    std::string pending;
    std::string block(kReadBlock, '\0');
    bool ok = true;
    while (ok) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const size_t got = static_cast<size_t>(in.gcount());
        if (in.bad()) ok = false;
        pending.append(block, 0, got);
        const bool at_end = got < block.size();
        const size_t ready = complete_part(pending, at_end);
        if (ready > 0) {
            const std::string_view part = std::string_view(pending).substr(0, ready);
            if (redactor) {
                const std::string redacted = redactor->redact(part);
                ok = ok && out.write(redacted.data(), redacted.size());
            } else {
                ok = ok && out.write(part.data(), part.size());
            }
            pending.erase(0, ready);
        }
        if (at_end) break;
    }
    ok = out.close() && ok;
    if (!ok) remove_file(destination);
    return ok;
}

bool redact_file_in_place(Redactor& redactor, const std::string& path) {
    const std::string redacted = path + ".redacted";
    remove_file(redacted);  // a leftover of an interrupted run; a link is removed, not followed
    bool ok = write_redacted_copy(&redactor, path, redacted);
    std::error_code ec;
    if (ok) std::filesystem::rename(fs_path(redacted), fs_path(path), ec);
    ok = ok && !ec;
    if (!ok) {
        remove_file(redacted);
        remove_file(path);
    }
    return ok;
}
