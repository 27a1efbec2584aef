#include "app/window_archive_upload.h"

#include <string>

#include "app/CTarvoCheckToolDlg.h"
#include "app/ui_thread_call.h"
#include "net/upload_url.h"
#include "res/string_table.h"
#include "res/upload_texts.h"
#include "sys/string_printf.h"

namespace {

std::string outcome_text(const UploadResult& result, const std::string& archive_path)
{
    if (!result.ok())
        return load_string(text::kUploadNotSent, {result.message, archive_path});
    return load_string(text::kUploadSent,
                          {result.host, std::to_string(result.status), std::to_string(result.bytes),
                           string_printf("%.1f", result.seconds),
                           load_string(result.verified == "md5" ? text::kUploadVerifiedMd5 : text::kUploadNotVerified)});
}

}  // namespace

void upload_in_window(CTarvoCheckToolDlg& window, SaveLogObserver& observer, const std::string& archive_path,
                      const std::string& archive_md5, const ArchiveUploadOptions& options, std::stop_token stop)
{
    CSCProgressDlg& progress = window.save_log_progress();
    UploadUrl url;
    std::string problem;
    const std::string host = parse_upload_url(options.url, url, problem) ? url.authority : std::string();
    QString collecting_text;
    int range = 0;
    call_on_ui_thread(&window, [&] {
        collecting_text = progress.Label().GetText();
        range = progress.Bar().maximum();
        progress.Bar().SetPos(0);
        progress.Label().SetText(QString::fromStdString(load_string(text::kUploadSending, {host})));
    });
    int shown = 0;
    UploadCallbacks callbacks;
    // The window's thread is asked only when the bar would move, not for every piece sent.
    callbacks.progress = [&](std::int64_t sent, std::int64_t total) {
        const int position = total > 0 ? static_cast<int>(static_cast<long double>(sent) * range / total) : range;
        if (position == shown) return;
        shown = position;
        call_on_ui_thread(&window, [&] { progress.Bar().SetPos(position); });
    };
    callbacks.stop = stop;
    const UploadResult result = upload_archive(archive_path, archive_md5, options, callbacks);
    call_on_ui_thread(&window, [&] { progress.Label().SetText(collecting_text); });
    if (!stop.stop_requested()) observer.show_message(outcome_text(result, archive_path));
}
