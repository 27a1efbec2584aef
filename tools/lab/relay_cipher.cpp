// The relay reads a fresh key on every connection. OpenSSL 3's generic key decoder takes about a
// third of a millisecond for that, which the relay benchmark would count as the client's; the RSA
// reader of the older interface takes a tenth of it.
#define OPENSSL_SUPPRESS_DEPRECATED

#include "tools/lab/relay_cipher.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <cctype>
#include <memory>

namespace {

struct CipherFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

void RsaPublicKey::KeyFree::operator()(RSA* key) const { RSA_free(key); }

RsaPublicKey::RsaPublicKey(const std::string& der) {
    const unsigned char* next = bytes(der);
    key.reset(d2i_RSA_PUBKEY(nullptr, &next, static_cast<long>(der.size())));
}

int RsaPublicKey::modulus_bits() const { return key ? RSA_bits(key.get()) : 0; }

long RsaPublicKey::exponent() const { return key ? static_cast<long>(BN_get_word(RSA_get0_e(key.get()))) : 0; }

bool RsaPublicKey::oaep_encrypt(const std::string& plaintext, std::string& ciphertext) const {
    if (!key) return false;
    // This padding is OAEP with SHA-1 and MGF1-SHA-1 and an empty label.
    ciphertext.assign(static_cast<size_t>(RSA_size(key.get())), '\0');
    const int length = RSA_public_encrypt(static_cast<int>(plaintext.size()), bytes(plaintext),
                                          reinterpret_cast<unsigned char*>(ciphertext.data()), key.get(),
                                          RSA_PKCS1_OAEP_PADDING);
    if (length < 0) return false;
    ciphertext.resize(static_cast<size_t>(length));
    return true;
}

std::string cfb128(const std::string& key, const std::string& iv, const std::string& data, bool encrypt) {
    std::unique_ptr<EVP_CIPHER_CTX, CipherFree> context(EVP_CIPHER_CTX_new());
    std::string out(data.size(), '\0');
    int length = 0;
    if (!context || key.size() != 16 || iv.size() != 16 ||
        EVP_CipherInit_ex(context.get(), EVP_aes_128_cfb128(), nullptr, bytes(key), bytes(iv), encrypt ? 1 : 0) != 1 ||
        EVP_CipherUpdate(context.get(), reinterpret_cast<unsigned char*>(out.data()), &length, bytes(data),
                         static_cast<int>(data.size())) != 1) {
        return {};
    }
    return out;
}

std::string random_bytes(int count) {
    std::string out(static_cast<size_t>(count), '\0');
    RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), count);
    return out;
}

std::string to_hex(const std::string& bytes, bool lower_case) {
    const char* digits = lower_case ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

bool from_hex(const std::string& hex, std::string& bytes) {
    if (hex.size() % 2 != 0) return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(hex[i])) || !std::isxdigit(static_cast<unsigned char>(hex[i + 1])))
            return false;
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return true;
}
