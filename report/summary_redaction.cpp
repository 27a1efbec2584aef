#include "report/summary_redaction.h"

#include "report/redactor.h"

void redact_summary_page(SummaryPage& page, Redactor& redactor) {
    auto redact = [&](std::string& text) { text = redactor.redact(text); };
    redact(page.product_title);
    redact(page.host_name);
    redact(page.os_name);
    for (SummaryDisk& disk : page.disks) redact(disk.path);
    for (std::string& line : page.folder_rights) redact(line);
    for (SummaryCheck& check : page.checks) {
        redact(check.name);
        for (std::string& cell : check.cells) redact(cell);
        redact(check.message);
        redact(check.meaning);
        redact(check.detail);
        if (check.tls) {
            redact(check.tls->subject);
            redact(check.tls->issuer);
        }
        if (check.proxy) redact(*check.proxy);
    }
    // Names of redacted copies pass a second time unchanged: the redactor leaves its own tokens be.
    for (PackedFile& file : page.files.packed) {
        redact(file.archive);
        redact(file.name);
    }
    for (SkippedFile& file : page.files.skipped) redact(file.path);
    for (SkippedFile& file : page.files.unredacted) redact(file.path);
}
