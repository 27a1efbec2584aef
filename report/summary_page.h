#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/packing_record.h"
#include "report/try_chart_svg.h"

// The summary page, check_result.html: one self-contained UTF-8 file (inline CSS and SVG, nothing
// fetched) that an engineer opens instead of reading the bundle's text files. The model is plain data;
// the collection fills it and summary_page_html turns it into the page, escaping every text.

inline constexpr const char* kSummaryFileName = "check_result.html";

// What the server presented on an HTTPS check.
struct SummaryTls {
    std::string subject;
    std::string issuer;
    std::string valid_from;
    std::string valid_until;
    std::string sha256_fingerprint;
    std::optional<bool> verified;  // against the system's trust store; empty when it could not be asked
};

struct SummaryCheck {
    std::string name;                // the item's name ("웹 서버")
    std::vector<std::string> cells;  // the seven diagnosis-log cells, as the window shows them
    uint32_t row_color = 0;          // ARGB text colour of the whole row (alpha 0: default)
    uint32_t elapsed_color = 0;      // ARGB text colour of the time cell (alpha 0: default)
    bool failed = false;
    int code = 0;
    std::string message;  // the code's message
    std::string meaning;  // what the code usually means, for a failure
    std::string detail;   // the check's technical text of its last failed step
    std::vector<SummaryTry> tries;
    std::optional<TryFigures> figures;
    // Connection facts, shown when known: the HTTPS server's certificate, and the proxy the request
    // went through ("" for a direct connection).
    std::optional<SummaryTls> tls;
    std::optional<std::string> proxy;
};

struct SummaryDisk {
    std::string path;
    uint64_t free_bytes = 0;
    uint64_t total_bytes = 0;
};

struct SummaryPage {
    std::string product_title;
    std::string tool_version;
    std::string built_time;
    std::string run_started;  // texts; empty when unknown
    std::string run_ended;
    bool run_completed = false;
    std::string host_name;
    std::string os_name;
    std::optional<bool> elevated;  // the tool ran with an administrator's rights; empty: unknown
    uint64_t memory_available = 0;
    uint64_t memory_total = 0;
    std::vector<SummaryDisk> disks;
    std::vector<std::string> folder_rights;  // the lines of the folder and file test
    std::vector<SummaryCheck> checks;
    PackingRecord files;
};

std::string summary_page_html(const SummaryPage& page);

// The checks whose certificate should make the engineer look twice: one that does not verify, or
// whose issuer differs from the one most servers of the product present (an inspecting middlebox).
// Indexes into page.checks, each with the reason.
struct ConnectionFlag {
    size_t check = 0;
    std::string reason;
};
std::vector<ConnectionFlag> connection_flags(const std::vector<SummaryCheck>& checks);
