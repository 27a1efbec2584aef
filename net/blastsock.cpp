#include "net/blastsock.h"

#include <cstring>
#include <string>

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

    return OpenKeyBlock(private_key_text, key_block, kKeyBlockSize, *context);
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
