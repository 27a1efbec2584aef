#include "engine/result_code.h"

#include "res/string_table.h"

ResultCodeTable g_result_codes;

std::string result_message(const ResultCode& result) {
    return result.message_id == 0 ? std::string() : load_string(result.message_id);
}

ResultCodeTable::ResultCodeTable() {
    for (const ResultCode& r : {RESULT_OK, RESULT_CANCELLED, RESULT_NOT_ADMIN, RESULT_NO_SERVER_INFO,
                                RESULT_SOCKET_CREATE, RESULT_CONNECT, RESULT_SEND_START, RESULT_RECV_START,
                                RESULT_BAD_REPLY, RESULT_CRYPT_INIT})
        codes_[r.code] = r.message_id;
}

void ResultCodeTable::register_code(int code, int message_id) {
    std::lock_guard guard(lock_);
    codes_[code] = message_id;
}

std::map<int, int> ResultCodeTable::snapshot() const {
    std::lock_guard guard(lock_);
    return codes_;
}

int ResultCodeTable::message_id(int code) const {
    std::lock_guard guard(lock_);
    auto it = codes_.find(code);
    return it == codes_.end() ? -1 : it->second;
}
