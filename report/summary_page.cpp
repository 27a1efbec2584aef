#include "report/summary_page.h"

#include <algorithm>
#include <map>

#include "report/html_text.h"
#include "res/report_texts.h"
#include "res/string_table.h"
#include "sys/date_time_text.h"
#include "sys/number_text.h"

namespace {

// The diagnosis-log page's columns, in its order.
constexpr int kLogColumns[] = {text::kColumnCategory, text::kColumnTime,    text::kColumnTarget,
                               text::kColumnPort,     text::kColumnElapsed, text::kColumnResult,
                               text::kColumnNote};
constexpr size_t kElapsedColumn = 4;

constexpr const char* kStyle = R"(
html { color-scheme: light; --accent: #2f4b7c; --fail: #b22222; --line: #d9dde3; --muted: #5f6670; }
* { box-sizing: border-box; }
body { margin: 0; background: #f3f5f8; color: #404040;
  font: 14px/1.45 "Malgun Gothic", "맑은 고딕", "NanumGothic", "Noto Sans CJK KR", "Segoe UI", sans-serif; }
header { background: var(--accent); color: #fff; padding: 18px 28px 14px; }
header h1 { margin: 0 0 4px; font-size: 22px; font-weight: 600; }
header p { margin: 0; opacity: .9; }
.verdict { display: inline-block; margin-top: 10px; padding: 3px 12px; border-radius: 12px; font-weight: 600; }
.verdict.ok { background: #e3f4e6; color: #006400; }
.verdict.fail { background: #fde8e8; color: var(--fail); }
main { padding: 8px 28px 28px; max-width: 1280px; }
section { background: #fff; border: 1px solid var(--line); border-radius: 8px; margin: 16px 0; padding: 14px 18px; }
h2 { margin: 0 0 10px; font-size: 16px; color: var(--accent); }
h3 { margin: 0 0 4px; font-size: 14px; }
table { border-collapse: collapse; width: 100%; }
th, td { border-bottom: 1px solid var(--line); padding: 5px 8px; text-align: left; vertical-align: middle; }
th { background: #eef1f5; font-weight: 600; white-space: nowrap; }
tbody tr:nth-child(even) { background: #f6f6f6; }
td.num, th.num { text-align: right; white-space: nowrap; }
td.center { text-align: center; }
svg.tries { display: block; }
.failure { border-left: 4px solid var(--fail); background: #fff7f7; padding: 8px 12px; margin: 8px 0; }
.failure h3 { color: var(--fail); }
.failure p { margin: 2px 0; }
.detail, .mono { font-family: "D2Coding", "NanumGothicCoding", Consolas, monospace; font-size: 12px;
  color: var(--muted); word-break: break-all; white-space: pre-wrap; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: 4px 18px; margin: 0; }
dl.facts dt { color: var(--muted); }
dl.facts dd { margin: 0; }
.ok-text { color: #006400; font-weight: 600; }
.fail-text { color: var(--fail); font-weight: 600; }
.none { color: var(--muted); font-style: italic; }
#folder-rights p { margin: 3px 0; }
tr.nested td:first-child { padding-left: 28px; }
tr.nested td { color: var(--muted); }
tr.folded > td { padding: 0; }
tr.folded summary { cursor: pointer; padding: 5px 8px 5px 28px; color: var(--accent); }
tr.folded table tr.nested td:first-child { padding-left: 44px; }
footer { color: var(--muted); font-size: 12px; padding: 0 28px 20px; }
)";

std::string esc(const std::string& text) {
    return html_escape(text);
}

// One of the page's own texts, which go in as they are (res/report_texts.h); the values must come
// escaped already.
std::string page_text(int id, std::initializer_list<std::string_view> escaped_values = {}) {
    return load_string(id, escaped_values);
}

std::string date_time_text(int64_t calendar_time) {
    if (calendar_time <= 0) return {};
    bool ok = false;
    const LocalDateTime when = to_local(calendar_time, &ok);
    return ok ? format_date_time(when, kDateAndTime, true, " ", true, true, false, true) : std::string();
}

std::string gigabytes(uint64_t bytes) {
    return format_size(bytes, 3, 1, true, true);
}

std::string style_color(uint32_t argb) {
    const std::string color = css_color(argb);
    return color.empty() ? std::string() : " style=\"color:" + color + "\"";
}

std::string fact(const std::string& label, const std::string& value) {
    return "<dt>" + esc(label) + "</dt><dd>" +
           (value.empty() ? "<span class=\"none\">" + page_text(text::kUnknown) + "</span>" : esc(value)) +
           "</dd>";
}

std::string target_of(const SummaryCheck& check) {
    std::string target = check.cells.size() > 2 ? check.cells[2] : std::string();
    if (check.cells.size() > 3 && !check.cells[3].empty()) target += ":" + check.cells[3];
    return target;
}

std::string header_html(const SummaryPage& page) {
    size_t failures = 0;
    for (const SummaryCheck& c : page.checks) failures += c.failed ? 1 : 0;
    std::string verdict;
    if (page.checks.empty())
        verdict = "<span class=\"verdict fail\">" + page_text(text::kVerdictNoCheck) + "</span>";
    else if (!page.run_completed)
        verdict = "<span class=\"verdict fail\">" + page_text(text::kVerdictStopped) + "</span>";
    else if (failures == 0)
        verdict = "<span class=\"verdict ok\">" +
                  page_text(text::kVerdictAllPassed, {std::to_string(page.checks.size())}) + "</span>";
    else
        verdict = "<span class=\"verdict fail\">" +
                  page_text(text::kVerdictSomeFailed,
                            {std::to_string(failures), std::to_string(page.checks.size())}) +
                  "</span>";
    std::string run = page_text(
        text::kRunTime, {page.run_started.empty() ? page_text(text::kTimeUnknown) : esc(page.run_started)});
    if (!page.run_ended.empty()) run += " – " + esc(page.run_ended);
    return "<header><h1>" + page_text(text::kPageHeading, {esc(page.product_title)}) + "</h1><p>" +
           page_text(text::kHeaderFacts, {esc(page.tool_version), run, esc(page.host_name)}) + "</p>" +
           verdict + "</header>\n";
}

std::string failures_html(const SummaryPage& page) {
    std::string html = "<section id=\"failures\"><h2>" + page_text(text::kFailures) + "</h2>\n";
    bool any = false;
    for (const SummaryCheck& c : page.checks) {
        if (!c.failed) continue;
        any = true;
        html += "<div class=\"failure\"><h3>" + esc(c.name) + " · " + esc(target_of(c)) + "</h3>";
        html += "<p><b>" + std::to_string(c.code) + "</b> · " + esc(c.message) + "</p>";
        if (!c.meaning.empty()) html += "<p>" + page_text(text::kUsuallyMeans, {esc(c.meaning)}) + "</p>";
        if (!c.detail.empty()) html += "<p class=\"detail\">" + esc(c.detail) + "</p>";
        html += "</div>\n";
    }
    if (!any) html += "<p class=\"none\">" + page_text(text::kNoCheckFailed) + "</p>\n";
    return html + "</section>\n";
}

std::string figures_text(const std::optional<TryFigures>& figures) {
    if (!figures) return {};
    return load_string(text::kTryFigures,
                       {std::to_string(figures->min_ms), std::to_string(figures->median_ms),
                        std::to_string(figures->max_ms)});
}

std::string results_html(const SummaryPage& page) {
    std::string html = "<section id=\"results\"><h2>" + page_text(text::kResults) +
                       "</h2>\n<table id=\"result-table\"><thead><tr>";
    for (size_t i = 0; i < std::size(kLogColumns); ++i)
        html += std::string("<th") + (i == 3 || i == 4 ? " class=\"num\"" : "") + ">" +
                page_text(kLogColumns[i]) + "</th>";
    html += "<th>" + page_text(text::kMessage) + "</th><th>" + page_text(text::kTries) +
            "</th><th class=\"num\">" + page_text(text::kTryFiguresColumn) + "</th></tr></thead>\n<tbody>\n";
    for (const SummaryCheck& c : page.checks) {
        html += std::string("<tr class=\"check") + (c.failed ? " failed" : "") + "\"" +
                style_color(c.row_color) + ">";
        for (size_t i = 0; i < std::size(kLogColumns); ++i) {
            const std::string cell = i < c.cells.size() ? c.cells[i] : std::string();
            const char* cls = i == 3 || i == 4 ? " class=\"num\"" : (i == 2 ? "" : " class=\"center\"");
            html += std::string("<td") + cls + (i == kElapsedColumn ? style_color(c.elapsed_color) : "") +
                    ">" + esc(cell) + "</td>";
        }
        html += "<td>" + esc(c.message) + "</td><td>" + try_chart_svg(c.tries) + "</td><td class=\"num\">" +
                esc(figures_text(c.figures)) + "</td></tr>\n";
    }
    return html + "</tbody></table>\n</section>\n";
}

// Shown only when the engine knows something about the connections.
std::string connection_html(const SummaryPage& page) {
    bool any = false;
    for (const SummaryCheck& c : page.checks) any = any || c.tls || c.proxy;
    if (!any) return {};
    std::map<size_t, std::string> flags;
    for (const ConnectionFlag& f : connection_flags(page.checks))
        flags[f.check] += (flags[f.check].empty() ? "" : "; ") + f.reason;
    std::string html =
        "<section id=\"connection-facts\"><h2>" + page_text(text::kConnections) + "</h2>\n<table><thead><tr>";
    for (const int column : {text::kCheck, text::kProxy, text::kCertificateSubject, text::kIssuer,
                             text::kValid, text::kSha256, text::kVerifies, text::kNote})
        html += "<th>" + page_text(column) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < page.checks.size(); ++i) {
        const SummaryCheck& c = page.checks[i];
        if (!c.tls && !c.proxy) continue;
        const auto flag = flags.find(i);
        html += std::string("<tr") + (flag != flags.end() ? " class=\"flagged\"" : "") + "><td>" +
                esc(c.name) + " · " + esc(target_of(c)) + "</td><td>" +
                (c.proxy ? (c.proxy->empty() ? page_text(text::kDirect) : esc(*c.proxy)) : "") + "</td>";
        if (c.tls) {
            html += "<td>" + esc(c.tls->subject) + "</td><td>" + esc(c.tls->issuer) + "</td><td>" +
                    esc(c.tls->valid_from) + " – " + esc(c.tls->valid_until) + "</td><td class=\"mono\">" +
                    esc(c.tls->sha256_fingerprint) + "</td><td>" +
                    (!c.tls->verified   ? page_text(text::kUnknown)
                     : *c.tls->verified ? "<span class=\"ok-text\">" + page_text(text::kYes) + "</span>"
                                        : "<span class=\"fail-text\">" + page_text(text::kNo) + "</span>") +
                    "</td>";
        } else {
            html += "<td></td><td></td><td></td><td></td><td></td>";
        }
        html += "<td" + std::string(flag != flags.end() ? " class=\"fail-text\">" + esc(flag->second) : ">") +
                "</td></tr>\n";
    }
    return html + "</tbody></table>\n</section>\n";
}

std::string machine_html(const SummaryPage& page) {
    std::string html =
        "<section id=\"machine\"><h2>" + page_text(text::kRunAndMachine) + "</h2>\n<dl class=\"facts\">";
    html += fact(load_string(text::kProduct), page.product_title);
    html += fact(load_string(text::kToolVersion), page.tool_version);
    html += fact(load_string(text::kToolBuilt), page.built_time);
    html += fact(load_string(text::kRunStarted), page.run_started);
    html += fact(load_string(text::kRunEnded), page.run_ended);
    html += fact(load_string(text::kHostName), page.host_name);
    html += fact(load_string(text::kOperatingSystem), page.os_name);
    html += fact(load_string(text::kElevated),
                 !page.elevated ? "" : load_string(*page.elevated ? text::kYes : text::kNo));
    html += fact(load_string(text::kMemory),
                 gigabytes(page.memory_available) + " / " + gigabytes(page.memory_total));
    for (const SummaryDisk& d : page.disks)
        html += fact(load_string(text::kDisk, {d.path}),
                     gigabytes(d.free_bytes) + " / " + gigabytes(d.total_bytes));
    html += "</dl>\n</section>\n";

    html += "<section id=\"folder-rights\"><h2>" + page_text(text::kFolderRights) + "</h2>\n";
    if (page.folder_rights.empty()) html += "<p class=\"none\">" + page_text(text::kNotTested) + "</p>\n";
    for (const std::string& line : page.folder_rights) {
        const bool ok = line.find("failed") == std::string::npos;
        html += std::string("<p class=\"mono\"><span class=\"") + (ok ? "ok-text\">✓" : "fail-text\">✗") +
                "</span> " + esc(line) + "</p>\n";
    }
    return html + "</section>\n";
}

std::string file_reason_table(const char* id, const std::vector<SkippedFile>& files) {
    std::string html = std::string("<table id=\"") + id + "\"><thead><tr><th>" + page_text(text::kFile) +
                       "</th><th>" + page_text(text::kReason) + "</th></tr></thead>\n<tbody>\n";
    for (const SkippedFile& f : files)
        html += "<tr><td class=\"mono\">" + esc(f.path) + "</td><td>" + esc(f.reason) + "</td></tr>\n";
    return html + "</tbody></table>\n";
}

// The files of one archive, folder by folder in the order the folders first come; a folder of more
// than kFoldedFolderFiles files is folded into one row that opens to show them, so that a bundle of a
// hundred thousand logs still reads.
constexpr size_t kFoldedFolderFiles = 25;

std::string packed_row(const PackedFile& f) {
    return std::string(f.archive.empty() ? "<tr>" : "<tr class=\"nested\">") + "<td>" + esc(f.name) +
           "</td><td>" + (f.archive.empty() ? page_text(text::kBundle) : esc(f.archive)) +
           "</td><td class=\"num\">" + format_decimal(static_cast<double>(f.size), 0, true) + "</td><td>" +
           esc(date_time_text(f.modified)) + "</td></tr>\n";
}

std::string folder_of(const std::string& name) {
    const size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

std::string archive_rows(const std::vector<const PackedFile*>& files) {
    std::vector<std::string> folders;
    std::map<std::string, std::vector<const PackedFile*>> by_folder;
    for (const PackedFile* f : files) {
        auto& members = by_folder[folder_of(f->name)];
        if (members.empty()) folders.push_back(folder_of(f->name));
        members.push_back(f);
    }
    std::string html;
    for (const std::string& folder : folders) {
        const std::vector<const PackedFile*>& members = by_folder[folder];
        if (members.size() <= kFoldedFolderFiles) {
            for (const PackedFile* f : members) html += packed_row(*f);
            continue;
        }
        uint64_t bytes = 0;
        for (const PackedFile* f : members) bytes += f->size;
        html += "<tr class=\"nested folded\"><td colspan=\"4\"><details><summary>" +
                page_text(text::kFoldedFolder, {esc(folder.empty() ? members[0]->archive : folder + "/"),
                                                std::to_string(members.size()),
                                                format_decimal(static_cast<double>(bytes), 0, true)}) +
                "</summary><table><tbody>\n";
        for (const PackedFile* f : members) html += packed_row(*f);
        html += "</tbody></table></details></td></tr>\n";
    }
    return html;
}

std::string files_html(const PackingRecord& files) {
    std::string html = "<section id=\"files-packed\"><h2>" + page_text(text::kFilesPacked) +
                       "</h2>\n<table id=\"packed-table\"><thead><tr><th>" + page_text(text::kName) +
                       "</th><th>" + page_text(text::kIn) + "</th><th class=\"num\">" +
                       page_text(text::kSizeBytes) + "</th><th>" + page_text(text::kModified) +
                       "</th></tr></thead>\n<tbody>\n";
    // Each nested archive's files follow its own row; those of an archive that did not get in, last.
    // Grouped once, in one pass: a bundle may hold a hundred thousand files.
    std::vector<std::string> archives;
    std::map<std::string, std::vector<const PackedFile*>> nested;
    for (const PackedFile& f : files.packed) {
        if (f.archive.empty()) continue;
        auto& members = nested[f.archive];
        if (members.empty()) archives.push_back(f.archive);
        members.push_back(&f);
    }
    for (const PackedFile& f : files.packed) {
        if (!f.archive.empty()) continue;
        html += packed_row(f);
        const auto inner = nested.find(f.name);
        if (inner == nested.end()) continue;
        html += archive_rows(inner->second);
        nested.erase(inner);
    }
    for (const std::string& archive : archives)
        if (const auto orphans = nested.find(archive); orphans != nested.end()) html += archive_rows(orphans->second);
    html += "</tbody></table>\n</section>\n";

    html += "<section id=\"files-not-packed\"><h2>" + page_text(text::kFilesNotPacked) + "</h2>\n";
    if (files.skipped.empty())
        html += "<p class=\"none\">" + page_text(text::kEveryFilePacked) + "</p>\n</section>\n";
    else
        html += file_reason_table("skipped-table", files.skipped) + "</section>\n";
    // Told only when there are any: a redacted bundle with content that could not be redacted.
    if (!files.unredacted.empty())
        html += "<section id=\"files-unredacted\"><h2>" + page_text(text::kFilesUnredacted) + "</h2>\n" +
                file_reason_table("unredacted-table", files.unredacted) + "</section>\n";
    return html;
}

}  // namespace

std::vector<ConnectionFlag> connection_flags(const std::vector<SummaryCheck>& checks) {
    // The issuer most servers present is taken as the product's own; on a tie the first seen wins.
    std::map<std::string, int> counts;
    std::vector<std::string> seen;
    for (const SummaryCheck& c : checks)
        if (c.tls && counts[c.tls->issuer]++ == 0) seen.push_back(c.tls->issuer);
    std::string usual;
    int most = 0;
    for (const std::string& issuer : seen)
        if (counts[issuer] > most) {
            most = counts[issuer];
            usual = issuer;
        }
    std::vector<ConnectionFlag> flags;
    for (size_t i = 0; i < checks.size(); ++i) {
        const auto& tls = checks[i].tls;
        if (!tls) continue;
        if (tls->verified == false) flags.push_back({i, load_string(text::kNotVerified)});
        if (tls->issuer != usual) flags.push_back({i, load_string(text::kOtherIssuer)});
    }
    return flags;
}

std::string summary_page_html(const SummaryPage& page) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"ko\"><head><meta charset=\"utf-8\" />"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />"
        "<title>" +
        page_text(text::kPageTitle, {esc(page.product_title)}) + "</title><style>" + kStyle +
        "</style></head>\n<body>\n";
    html += header_html(page);
    html += "<main>\n";
    html += failures_html(page);
    html += results_html(page);
    html += connection_html(page);
    html += machine_html(page);
    html += files_html(page.files);
    html += "</main>\n<footer>" +
            page_text(text::kFooter, {esc(page.product_title), esc(page.tool_version)}) +
            "</footer>\n</body></html>\n";
    return html;
}
