#include "tools/lab/relay_cipher.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

#include <cctype>
#include <memory>

namespace {

struct ContextFree {
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
struct CipherFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
struct NumberFree {
    void operator()(BIGNUM* number) const { BN_free(number); }
};

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

RsaPublicKey::RsaPublicKey(const std::string& der) {
    const unsigned char* next = bytes(der);
    key.reset(d2i_PUBKEY(nullptr, &next, static_cast<long>(der.size())));
    if (key && EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA) key.reset();
}

int RsaPublicKey::modulus_bits() const { return key ? EVP_PKEY_get_bits(key.get()) : 0; }

long RsaPublicKey::exponent() const {
    BIGNUM* raw = nullptr;
    if (!key || EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_E, &raw) != 1) return 0;
    std::unique_ptr<BIGNUM, NumberFree> exponent(raw);
    return static_cast<long>(BN_get_word(exponent.get()));
}

bool RsaPublicKey::oaep_encrypt(const std::string& plaintext, std::string& ciphertext) const {
    if (!key) return false;
    std::unique_ptr<EVP_PKEY_CTX, ContextFree> context(EVP_PKEY_CTX_new(key.get(), nullptr));
    size_t length = 0;
    if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
        EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_OAEP_PADDING) != 1 ||
        EVP_PKEY_CTX_set_rsa_oaep_md(context.get(), EVP_sha1()) != 1 ||
        EVP_PKEY_CTX_set_rsa_mgf1_md(context.get(), EVP_sha1()) != 1 ||
        EVP_PKEY_encrypt(context.get(), nullptr, &length, bytes(plaintext), plaintext.size()) != 1) {
        return false;
    }
    ciphertext.assign(length, '\0');
    if (EVP_PKEY_encrypt(context.get(), reinterpret_cast<unsigned char*>(ciphertext.data()), &length,
                         bytes(plaintext), plaintext.size()) != 1) {
        return false;
    }
    ciphertext.resize(length);
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
