#pragma once

#include <map>
#include <mutex>
#include <string>

// A check's outcome: a code and the string-table id of its message (0: no message, as for the HTTP
// status codes a check may end with).
struct ResultCode {
    int code = 0;
    int message_id = 102;

    bool operator==(const ResultCode&) const = default;
};

inline constexpr ResultCode RESULT_OK{0, 102};
inline constexpr ResultCode RESULT_CANCELLED{90001, 110};
inline constexpr ResultCode RESULT_NOT_ADMIN{90002, 111};
inline constexpr ResultCode RESULT_NO_SERVER_INFO{90101, 103};
inline constexpr ResultCode RESULT_SOCKET_CREATE{90102, 104};
inline constexpr ResultCode RESULT_CONNECT{90103, 105};
inline constexpr ResultCode RESULT_SEND_START{90104, 106};
inline constexpr ResultCode RESULT_RECV_START{90105, 107};
inline constexpr ResultCode RESULT_BAD_REPLY{90106, 108};
inline constexpr ResultCode RESULT_CRYPT_INIT{90107, 109};

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
