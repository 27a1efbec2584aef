#include "tools/lab/relay_server.h"

#include <algorithm>
#include <random>

#include "tools/lab/relay_cipher.h"

namespace {

constexpr size_t kPublicKeyBlockSize = 321;
constexpr size_t kPublicKeyTextSize = 320;
constexpr size_t kKeyBlockSize = 257;
constexpr size_t kPartialKeyBlockSize = 100;
constexpr int kLowPortFirst = 1024;
constexpr int kLowPortLast = 8000;

std::string little_endian(int code) {
    return {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

}  // namespace

RelayServer::RelayServer(RelayPlan plan_, LabRecord& record_) : plan(std::move(plan_)), record(record_) {}

bool RelayServer::open(std::string& error) {
    // A server that never accepts keeps a backlog of 0: one queued connection, then silence.
    const int backlog = plan.behaviour == RelayBehaviour::never_accept ? 0 : 16;
    if (plan.port == kLowRelayPort) {
        // Start somewhere random so that labs running side by side rarely probe the same ports.
        std::random_device random;
        const int span = kLowPortLast - kLowPortFirst + 1;
        const int first = static_cast<int>(random() % span);
        for (int i = 0; i < span; ++i)
            if (listener.open(kLowPortFirst + (first + i) % span, backlog, error)) return true;
        error = "no free port from " + std::to_string(kLowPortFirst) + " to " + std::to_string(kLowPortLast);
    } else if (listener.open(plan.port, backlog, error)) {
        return true;
    }
    error = "relay " + plan.name + ": " + error;
    return false;
}

void RelayServer::start() {
    if (plan.behaviour == RelayBehaviour::never_accept) return;
    listener.start([this](LabConnection& connection) { serve(connection); });
}

void RelayServer::serve(LabConnection& connection) {
    RelayConnectionSeen seen;
    seen.server = plan.name;
    seen.try_number = ++tries;
    exchange(connection, seen);
    record.add(std::move(seen));
}

void RelayServer::exchange(LabConnection& connection, RelayConnectionSeen& seen) {
    if (plan.behaviour == RelayBehaviour::silent) {
        connection.wait_until_closed();
        return;
    }
    char block[kPublicKeyBlockSize];
    if (!connection.read_exact(block, sizeof block)) return;
    seen.public_key_received = true;
    seen.public_key.assign(block, kPublicKeyTextSize);
    seen.public_key_terminator = static_cast<unsigned char>(block[kPublicKeyTextSize]);
    std::string der;
    from_hex(seen.public_key, der);
    const RsaPublicKey public_key(der);
    seen.modulus_bits = public_key.modulus_bits();
    seen.exponent = public_key.exponent();
    if (plan.behaviour == RelayBehaviour::close_after_public_key) return;
    if (plan.behaviour == RelayBehaviour::garbage) {
        send_garbage(connection);
        return;
    }

    seen.session_text = plan.session_text.empty() ? to_hex(random_bytes(32)) : plan.session_text;
    seen.key_block = key_block_for(public_key, seen.session_text);
    if (seen.key_block.empty()) return;
    std::string wire = seen.key_block;
    wire.resize(kKeyBlockSize, '\0');
    if (plan.behaviour == RelayBehaviour::partial_key_block ||
        plan.behaviour == RelayBehaviour::reset_mid_handshake) {
        connection.write_all(wire.data(), kPartialKeyBlockSize);
        if (plan.behaviour == RelayBehaviour::reset_mid_handshake) connection.reset();
        return;
    }
    if (plan.behaviour == RelayBehaviour::trickle_key_block) {
        // One byte at a time, each just before a client's receive time-out would end the wait.
        for (const char byte : wire) {
            if (!connection.pause(plan.trickle_ms) || !connection.write_all(&byte, 1)) return;
        }
    } else if (!connection.write_all(wire.data(), wire.size())) {
        return;
    }
    if (plan.behaviour == RelayBehaviour::silent_after_key) {
        connection.wait_until_closed();
        return;
    }
    answer_commands(connection, seen);
}

void RelayServer::send_garbage(LabConnection& connection) const {
    constexpr int kBlockSize = 64 * 1024;
    const std::string block = random_bytes(kBlockSize);
    for (int left = plan.garbage_bytes; left > 0; left -= kBlockSize) {
        if (!connection.write_all(block.data(), static_cast<size_t>(std::min(left, kBlockSize)))) return;
    }
    connection.wait_until_closed();
}

std::string RelayServer::key_block_for(const RsaPublicKey& public_key,
                                       const std::string& session_text) const {
    constexpr size_t kCiphertextSize = 128;
    std::string ciphertext;
    switch (plan.behaviour) {
        case RelayBehaviour::not_hex_key_block:
            return std::string(kCiphertextSize * 2, 'Z');
        case RelayBehaviour::undecryptable_key_block:
            ciphertext = random_bytes(kCiphertextSize);
            break;
        case RelayBehaviour::short_session_text:
            if (!public_key.oaep_encrypt(session_text.substr(0, 16), ciphertext)) return {};
            break;
        default:
            if (!public_key.oaep_encrypt(session_text, ciphertext)) return {};
            break;
    }
    return to_hex(ciphertext, plan.lower_case);
}

void RelayServer::answer_commands(LabConnection& connection, RelayConnectionSeen& seen) {
    std::string key, iv;
    const bool keyed = seen.session_text.size() >= 64 && from_hex(seen.session_text.substr(0, 32), key) &&
                       from_hex(seen.session_text.substr(32, 32), iv);
    if (!keyed) {
        connection.wait_until_closed();
        return;
    }
    const auto by_try = plan.replies_by_try.find(seen.try_number);
    const int reply = by_try != plan.replies_by_try.end() ? by_try->second : plan.reply;
    char cipher[2];
    while (connection.read_exact(cipher, sizeof cipher)) {
        const std::string plain = cfb128(key, iv, std::string(cipher, 2), false);
        RelayCommandSeen& command = seen.commands.emplace_back();
        command.cipher_hex = to_hex(std::string(cipher, 2));
        command.value = static_cast<unsigned char>(plain[0]) | (static_cast<unsigned char>(plain[1]) << 8);
        const std::string answer = cfb128(key, iv, little_endian(reply), true);
        if (!connection.write_all(answer.data(), answer.size())) return;
        command.reply = reply;
    }
}
