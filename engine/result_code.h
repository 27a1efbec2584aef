#pragma once

#include <map>
#include <mutex>
#include <string>

#include "res/engine_texts.h"

// A check's outcome: a code and the string-table id of its message (0: no message, as for the HTTP
// status codes a check may end with).
struct ResultCode {
    int code = 0;
    int message_id = text::kResultOkText;

    bool operator==(const ResultCode&) const = default;
};

inline constexpr ResultCode RESULT_OK{0, text::kResultOkText};
inline constexpr ResultCode RESULT_CANCELLED{90001, text::kCancelledText};
inline constexpr ResultCode RESULT_NOT_ADMIN{90002, text::kNotAdminText};
inline constexpr ResultCode RESULT_NO_SERVER_INFO{90101, text::kNoServerInfoText};
inline constexpr ResultCode RESULT_SOCKET_CREATE{90102, text::kSocketCreateText};
inline constexpr ResultCode RESULT_CONNECT{90103, text::kConnectText};
inline constexpr ResultCode RESULT_SEND_START{90104, text::kSendStartText};
inline constexpr ResultCode RESULT_RECV_START{90105, text::kRecvStartText};
inline constexpr ResultCode RESULT_BAD_REPLY{90106, text::kBadReplyText};
inline constexpr ResultCode RESULT_CRYPT_INIT{90107, text::kCryptInitText};

// The message text of a result: its string-table entry, empty for id 0.
std::string result_message(const ResultCode& result);

// The process-wide map from result code to message id. The diagnosis worker registers HTTP status
// codes while the window may read the table, so every access takes the lock.
class ResultCodeTable {
public:
    ResultCodeTable();  // holds the ten fixed codes

    void register_code(int code, int message_id);
    std::map<int, int> snapshot() const;
    // The message id registered for a code, or -1 when the code is unknown.
    int message_id(int code) const;

private:
    mutable std::mutex lock_;
    std::map<int, int> codes_;
};

extern ResultCodeTable g_result_codes;
