#pragma once

#include <cstdint>
#include <memory>

#include "net/Socket.h"
#include "net/relay_crypto.h"

// Relay commands, 16-bit, sent low byte first.
inline constexpr std::uint16_t NMS_C_START = 300;
inline constexpr std::uint16_t NMS_C_START_OK = 301;

// The encrypted relay channel: an RSA key exchange that delivers an AES session key and IV, then
// every command encrypted on its own. One object is reused for every opening of the channel.
class blastsock : public Socket {
public:
    static constexpr int kPublicKeyBlockSize = 321;
    static constexpr int kKeyBlockSize = 257;
    static constexpr int kBufferSize = 8192;

    // Sends a fresh public key, receives and decrypts the key block, keeps the session key and IV.
    // False when a transfer fails (the socket is then closed) or the key block is unusable.
    bool CryptInit();
    bool SendCommand(std::uint16_t command);
    bool ReceiveCommand(std::uint16_t& command);

private:
    std::unique_ptr<SessionKeyContext> context;
    std::unique_ptr<std::uint8_t[]> send_buffer;
    std::unique_ptr<std::uint8_t[]> receive_buffer;
};
