#include "engine/result_meaning.h"

#include "engine/result_code.h"
#include "res/engine_texts.h"
#include "res/string_table.h"
#include "sys/error_text.h"

namespace {

struct Meaning {
    int code;
    int text;
};

constexpr Meaning kResultMeanings[] = {
    {RESULT_CANCELLED.code, text::kMeaningCancelled},
    {RESULT_NOT_ADMIN.code, text::kMeaningNotAdmin},
    {RESULT_NO_SERVER_INFO.code, text::kMeaningNoServerInfo},
    {RESULT_SOCKET_CREATE.code, text::kMeaningSocketCreate},
    {RESULT_CONNECT.code, text::kMeaningConnect},
    {RESULT_SEND_START.code, text::kMeaningSendStart},
    {RESULT_RECV_START.code, text::kMeaningRecvStart},
    {RESULT_BAD_REPLY.code, text::kMeaningBadReply},
    {RESULT_CRYPT_INIT.code, text::kMeaningCryptInit},
};

constexpr Meaning kHttpMeanings[] = {
    {301, text::kMeaningHttp301}, {302, text::kMeaningHttp302}, {307, text::kMeaningHttp307},
    {400, text::kMeaningHttp400}, {401, text::kMeaningHttp401}, {403, text::kMeaningHttp403},
    {404, text::kMeaningHttp404}, {407, text::kMeaningHttp407}, {408, text::kMeaningHttp408},
    {429, text::kMeaningHttp429}, {500, text::kMeaningHttp500}, {502, text::kMeaningHttp502},
    {503, text::kMeaningHttp503}, {504, text::kMeaningHttp504},
};

// The text id of the code's meaning in the table; 0 when the table has none.
template <size_t N>
int find_meaning(const Meaning (&table)[N], int code) {
    for (const Meaning& m : table)
        if (m.code == code) return m.text;
    return 0;
}

constexpr int kFirstHttpClientCode = 12000;
constexpr int kLastHttpClientCode = 12175;

bool is_http_status(int code) {
    return code >= 100 && code <= 599;
}

}  // namespace

std::string usual_meaning(int code) {
    if (const int id = find_meaning(kResultMeanings, code)) return load_string(id);
    if (const int id = find_meaning(kHttpMeanings, code)) return load_string(id);
    if (is_http_status(code)) {
        if (code >= 500) return load_string(text::kMeaningHttpServerError);
        if (code >= 400) return load_string(text::kMeaningHttpClientError);
        if (code >= 300) return load_string(text::kMeaningHttpRedirect);
        return load_string(text::kMeaningHttpOther);
    }
    if (code >= kFirstHttpClientCode && code <= kLastHttpClientCode) {
        const std::string text = error_text(code);
        if (!is_unknown_error_text(text)) return text;
    }
    return {};
}

std::string result_code_message(int code, int message_id) {
    const std::string message = result_message(ResultCode{code, message_id});
    if (!message.empty()) return message;
    if (is_http_status(code)) return load_string(text::kHttpStatus);
    if (code >= kFirstHttpClientCode && code <= kLastHttpClientCode)
        return load_string(text::kHttpClientError);
    return {};
}
