#include "net/blastsock.h"

#include <cstring>
#include <string>
#include <string_view>

bool blastsock::CryptInit() {
    if (!context) context = std::make_unique<SessionKeyContext>();
    if (!send_buffer) send_buffer = std::make_unique<std::uint8_t[]>(kBufferSize);
    if (!receive_buffer) receive_buffer = std::make_unique<std::uint8_t[]>(kBufferSize);

    std::string private_key_text;
    std::string public_key_text;
    if (!GenerateRsaKeyPair(private_key_text, public_key_text)) return false;

    char public_key_block[kPublicKeyBlockSize] = {};
    std::memcpy(public_key_block, public_key_text.data(), kPublicKeyTextSize);
    if (!SendAll(public_key_block, kPublicKeyBlockSize)) return false;

    char key_block[kKeyBlockSize] = {};
    if (!RecvAll(key_block, kKeyBlockSize)) return false;

    // The block is meant to be NUL-terminated; one that is not is still read only within its size.
    const void* end = std::memchr(key_block, 0, kKeyBlockSize);
    const std::size_t text_length = end ? static_cast<const char*>(end) - key_block : kKeyBlockSize;
    const std::string_view ciphertext_text(key_block, text_length);
    std::string session_text;
    if (!RsaDecryptHex(private_key_text, ciphertext_text, session_text)) return false;
    if (session_text.size() < kSessionTextSize) return false;

    const std::string_view text(session_text);
    SetSessionKeyHex(*context, text.substr(0, 32));
    SetSessionIvHex(*context, text.substr(32, 32));
    return true;
}

bool blastsock::SendCommand(std::uint16_t command) {
    if (!context || !send_buffer) return false;
    const std::uint8_t plain[2] = {static_cast<std::uint8_t>(command & 0xFF), static_cast<std::uint8_t>(command >> 8)};
    CfbEncrypt(context->session_key, context->session_iv, send_buffer.get(), plain, 2);
    return SendAll(send_buffer.get(), 2);
}

bool blastsock::ReceiveCommand(std::uint16_t& command) {
    if (!context || !receive_buffer) return false;
    if (!RecvAll(receive_buffer.get(), 2)) return false;
    std::uint8_t plain[2] = {};
    CfbDecrypt(context->session_key, context->session_iv, plain, receive_buffer.get(), 2);
    command = static_cast<std::uint16_t>(plain[0] | (plain[1] << 8));
    return true;
}
