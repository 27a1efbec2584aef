#include "net/file_upload.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>

#include "net/file_body_source.h"
#include "net/http_transport.h"
#include "net/md5_digest.h"
#include "net/retry_after.h"
#include "net/server_error_message.h"
#include "net/stored_checksum.h"
#include "net/upload_url.h"
#include "net/wininet_error.h"
#include "sys/ascii_text.h"
#include "sys/error_text.h"
#include "sys/fs_path.h"
#include "sys/open_file.h"
#include "sys/string_printf.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace wininet_error;

constexpr std::size_t kKeptAnswerBytes = 64 * 1024;
constexpr char kStopped[] = "stopped before the upload was complete";

// Keeps the start of the answer's body, where a refusal says why.
class AnswerKeeper : public HttpExchangeReceiver {
public:
    void on_final_answer(long, std::int64_t) override {}
    bool on_body(const char* data, std::size_t size) override {
        body.append(data, std::min(size, kKeptAnswerBytes - body.size()));
        return true;
    }
    std::string body;
};

// How one attempt ended.
struct AttemptEnd {
    UploadFailure failure = UploadFailure::none;
    std::string message;
    bool worth_retrying = false;
    std::optional<std::int64_t> retry_after;  // seconds the server asked to wait
};

AttemptEnd final_end(UploadFailure failure, std::string message) {
    AttemptEnd end;
    end.failure = failure;
    end.message = std::move(message);
    return end;
}

AttemptEnd retried_end(std::string message, std::optional<std::int64_t> retry_after = std::nullopt) {
    AttemptEnd end = final_end(UploadFailure::unavailable, std::move(message));
    end.worth_retrying = true;
    end.retry_after = retry_after;
    return end;
}

bool holds_certificate(const std::string& path) {
    std::FILE* file = open_file(path, "rb");
    if (!file) return false;
    std::string text(64 * 1024, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text.find("-----BEGIN CERTIFICATE-----") != std::string::npos;
}

bool is_certificate_refusal(int error) {
    return error == kCertificateDateInvalid || error == kCertificateNameInvalid ||
           error == kCertificateAuthorityInvalid || error == kCertificateRevocationFailed ||
           error == kCertificateInvalid || error == kCertificateRevoked;
}

std::string seconds_text(std::int64_t milliseconds) {
    return string_printf("%g s", static_cast<double>(milliseconds) / 1000);
}

// Long enough for the file at the slowest line allowed, with room for connecting and the answer.
int attempt_bound_ms(std::int64_t size, int idle_timeout_ms) {
    const std::int64_t bound = 2LL * idle_timeout_ms + size * 1000 / kSlowestUploadBytesPerSecond;
    return static_cast<int>(std::min<std::int64_t>(bound, INT_MAX));
}

// Waits unless a stop comes first; false when it did.
bool wait_unless_stopped(int milliseconds, const std::stop_token& stop) {
    std::mutex lock;
    std::condition_variable_any woken;
    std::unique_lock<std::mutex> guard(lock);
    return !woken.wait_for(guard, stop, std::chrono::milliseconds(milliseconds), [] { return false; });
}

// The wait before attempt `attempt` + 1: growing with each attempt, longer when the server asks,
// never longer than one idle time-out.
int retry_wait_ms(int attempt, const std::optional<std::int64_t>& retry_after, int idle_timeout_ms) {
    const std::int64_t backoff = 1LL * idle_timeout_ms / 60 * attempt;
    const std::int64_t asked = retry_after ? std::min<std::int64_t>(*retry_after, INT_MAX / 1000) * 1000 : 0;
    return static_cast<int>(std::max(backoff, std::min<std::int64_t>(asked, idle_timeout_ms)));
}

AttemptEnd failed_exchange(const HttpExchangeOutcome& outcome, const UploadRequest& request,
                           const UploadUrl& url, Clock::duration took, int bound_ms) {
    if (is_certificate_refusal(outcome.error)) {
        std::string message = "the server's certificate is not trusted: " + error_text(outcome.error) +
                              " (error " + std::to_string(outcome.error) + ")";
        if (!request.extra_authority_file.empty() && !http_exchange_takes_extra_authorities())
            message +=
                "; on Windows only the system's store decides: add the authority with certutil -user "
                "-addstore Root \"" +
                request.extra_authority_file + "\"";
        return final_end(UploadFailure::rejected, message);
    }
    if (outcome.error == kTimeout) {
        const bool whole = took >= std::chrono::milliseconds(bound_ms);
        return retried_end(whole ? "the attempt took longer than its limit of " + seconds_text(bound_ms)
                                 : "no progress for " + seconds_text(request.idle_timeout_ms));
    }
    const std::string message = "could not send to " + url.authority + ": " + error_text(outcome.error) +
                                " (error " + std::to_string(outcome.error) + ")";
    return outcome.error == kInvalidUrl ? final_end(UploadFailure::unusable, message) : retried_end(message);
}

AttemptEnd answered(const HttpExchangeOutcome& outcome, const std::string& body, FileBodySource& source,
                    UploadResult& result) {
    const long status = outcome.status;
    const std::string said = server_error_message(body);
    const std::string status_text = "HTTP " + std::to_string(status) + (said.empty() ? "" : ": " + said);
    if (status >= 200 && status < 300) {
        if (!source.read_whole() || source.bytes_sent() < source.size())
            return final_end(UploadFailure::not_intact, "the server answered " + status_text + " after " +
                                                            std::to_string(source.bytes_sent()) + " of " +
                                                            std::to_string(source.size()) + " bytes");
        const std::string md5 = source.md5();
        const StoredChecksum stored = check_stored_checksum(outcome.headers, md5);
        if (stored.given && !stored.matches)
            return final_end(UploadFailure::not_intact, "the server stored other bytes than were sent: its " +
                                                            stored.field + " is " + stored.value +
                                                            ", the file's MD5 is " + hex_text(md5));
        result.verified = stored.given ? "md5" : "none";
        return {};
    }
    if (status == 429 || status >= 500) {
        const std::optional<std::string> retry_after = header_value(outcome.headers, "Retry-After");
        return retried_end(
            "the server answered " + status_text,
            retry_after ? retry_after_seconds(*retry_after, std::time(nullptr)) : std::nullopt);
    }
    // Where a redirect points is not shown: a signed address may be in it.
    if (status >= 300 && status < 400)
        return final_end(UploadFailure::rejected, "the server answered with a redirect (HTTP " +
                                                      std::to_string(status) +
                                                      "), which an upload does not follow");
    return final_end(UploadFailure::rejected, "the server refused the upload: " + status_text);
}

AttemptEnd send_once(const UploadRequest& request, const UploadUrl& url,
                     const std::vector<std::string>& lines, std::int64_t size,
                     const UploadCallbacks& callbacks, UploadResult& result) {
    FileBodySource source(request.file, size, request.known_md5, [&](std::int64_t sent) {
        if (callbacks.progress) callbacks.progress(sent, size);
    });
    if (source.failed()) return final_end(UploadFailure::unusable, "cannot read " + request.file);
    HttpExchangeRequest exchange;
    exchange.host = url.host;
    exchange.port = url.port;
    exchange.path = url.target;
    exchange.method = "PUT";
    exchange.use_https = url.https;
    exchange.header_lines = lines;
    exchange.streamed_body = &source;
    exchange.http_1_1 = true;
    exchange.follow_redirects = false;
    exchange.verify_server = true;
    exchange.extra_authority_file = request.extra_authority_file;
    exchange.idle_timeout_ms = request.idle_timeout_ms;
    exchange.total_timeout_ms = attempt_bound_ms(size, request.idle_timeout_ms);
    exchange.stop = callbacks.stop;

    AnswerKeeper answer;
    const auto start = Clock::now();
    const HttpExchangeOutcome outcome = http_exchange(exchange, answer);
    result.bytes = source.bytes_sent();
    result.status = outcome.answer_arrived ? static_cast<int>(outcome.status) : 0;
    // A stop that comes as the answer arrives leaves the answer to tell what happened.
    if (outcome.error == kOperationCancelled) return final_end(UploadFailure::stopped, kStopped);
    if (source.failed())
        return final_end(UploadFailure::unusable,
                         "could not read " + request.file + " to its end while sending it");
    if (!outcome.answer_arrived || outcome.status <= 0)
        return failed_exchange(outcome, request, url, Clock::now() - start, exchange.total_timeout_ms);
    return answered(outcome, answer.body, source, result);
}

bool is_token(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
    });
}

}  // namespace

bool upload_header_lines(const std::vector<std::string>& given, std::vector<std::string>& lines,
                         std::string& problem) {
    lines = {"Content-Type: application/zip"};
    bool own_type = false;
    for (const std::string& line : given) {
        const auto field = header_field(line);
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos || !field ||
            !is_token(field->first)) {
            problem = "a header line must read \"Name: value\" on one line";
            return false;
        }
        const std::string name = ascii_lower(field->first);
        if (name == "content-length" || name == "transfer-encoding" || name == "host") {
            problem = "the upload sets " + field->first + " itself";
            return false;
        }
        if (name == "content-type" && !own_type) {
            lines.erase(lines.begin());
            own_type = true;
        }
        lines.push_back(line);
    }
    return true;
}

UploadResult upload_file(const UploadRequest& request, const UploadCallbacks& callbacks) {
    const auto start = Clock::now();
    UploadResult result;
    result.shown_url = upload_url_shown(request.url);
    const auto end = [&](UploadFailure failure, std::string message) {
        result.failure = failure;
        result.message = std::move(message);
        result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    };

    UploadUrl url;
    std::string problem;
    if (!parse_upload_url(request.url, url, problem))
        return end(UploadFailure::unusable, problem + ": " + result.shown_url);
    result.host = url.authority;
    std::vector<std::string> lines;
    if (!upload_header_lines(request.header_lines, lines, problem))
        return end(UploadFailure::unusable, problem);
    if (!request.extra_authority_file.empty() && !holds_certificate(request.extra_authority_file))
        return end(UploadFailure::unusable, "no PEM certificate in " + request.extra_authority_file);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(fs_path(request.file), error);
    if (error) return end(UploadFailure::unusable, "cannot read " + request.file);
    if (size > static_cast<std::uintmax_t>(kMaxUploadBytes))
        return end(UploadFailure::unusable, "the file is " + std::to_string(size) +
                                                " bytes, more than the 5 GiB one upload can take (" +
                                                std::to_string(kMaxUploadBytes) + " bytes): " + request.file);

    for (int attempt = 1;; ++attempt) {
        result.attempts = attempt;
        const AttemptEnd ended =
            send_once(request, url, lines, static_cast<std::int64_t>(size), callbacks, result);
        if (ended.failure == UploadFailure::none) return end(UploadFailure::none, {});
        if (!ended.worth_retrying) return end(ended.failure, ended.message);
        if (attempt == kUploadAttempts)
            return end(ended.failure, "all " + std::to_string(kUploadAttempts) +
                                          " attempts failed, the last: " + ended.message);
        const int wait_ms = retry_wait_ms(attempt, ended.retry_after, request.idle_timeout_ms);
        if (callbacks.retrying) callbacks.retrying(attempt + 1, wait_ms, ended.message);
        if (!wait_unless_stopped(wait_ms, callbacks.stop)) return end(UploadFailure::stopped, kStopped);
    }
}
