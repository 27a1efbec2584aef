#include "net/md5_digest.h"

// MD5 is no protection against an adversary, only against damage on the way, which is all it is
// asked for here; Crypto++ keeps it apart for that reason.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>

struct Md5Digest::State {
    CryptoPP::Weak::MD5 hash;
};

Md5Digest::Md5Digest() : state(std::make_unique<State>()) {}

Md5Digest::~Md5Digest() = default;

void Md5Digest::add(const void* data, std::size_t size) {
    state->hash.Update(static_cast<const CryptoPP::byte*>(data), size);
}

std::string Md5Digest::finish() {
    std::string digest(CryptoPP::Weak::MD5::DIGESTSIZE, '\0');
    state->hash.Final(reinterpret_cast<CryptoPP::byte*>(digest.data()));
    return digest;
}

std::string hex_text(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}
