#include "net/relay_crypto.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#if __has_include(<cryptopp/cryptlib.h>)
#include <cryptopp/aes.h>
#include <cryptopp/filters.h>
#include <cryptopp/hex.h>
#include <cryptopp/modes.h>
#include <cryptopp/osrng.h>
#include <cryptopp/rsa.h>
#else
#include <crypto++/aes.h>
#include <crypto++/filters.h>
#include <crypto++/hex.h>
#include <crypto++/modes.h>
#include <crypto++/osrng.h>
#include <crypto++/rsa.h>
#endif

namespace {

constexpr unsigned kModulusBits = 1024;

// Save writes the standard containers: PKCS #8 for a private key, X.509 SubjectPublicKeyInfo for a
// public one.
template <class Key>
std::string hex_of(const Key& key) {
    std::string text;
    CryptoPP::HexEncoder encoder(new CryptoPP::StringSink(text), true);
    key.Save(encoder);
    encoder.MessageEnd();
    return text;
}

bool is_hex_text(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

void decode_hex_into(std::uint8_t* target, std::string_view hex) {
    std::fill(target, target + kSessionKeySize, std::uint8_t{0});
    try {
        CryptoPP::StringSource(reinterpret_cast<const CryptoPP::byte*>(hex.data()), hex.size(), true,
                               new CryptoPP::HexDecoder(new CryptoPP::ArraySink(target, kSessionKeySize)));
    } catch (const std::exception&) {
        // What was decoded stays; the rest is zero.
    }
}

}  // namespace

bool GenerateRsaKeyPair(std::string& private_key_text, std::string& public_key_text) {
    try {
        CryptoPP::AutoSeededRandomPool random;
        CryptoPP::RSAES_OAEP_SHA_Decryptor private_key(random, kModulusBits);
        CryptoPP::RSAES_OAEP_SHA_Encryptor public_key(private_key);
        private_key_text = hex_of(private_key.GetKey());
        public_key_text = hex_of(public_key.GetKey());
    } catch (const std::exception&) {
        return false;
    }
    return public_key_text.size() == kPublicKeyTextSize && private_key_text.size() <= kPrivateKeyTextCapacity;
}

bool RsaDecryptHex(const std::string& private_key_text, std::string_view ciphertext_text, std::string& plaintext) {
    plaintext.clear();
    // The decoder would skip stray characters silently; a block that is not clean hexadecimal is
    // refused instead.
    if (ciphertext_text.empty() || ciphertext_text.size() % 2 != 0 || !is_hex_text(ciphertext_text)) return false;
    try {
        CryptoPP::RSAES_OAEP_SHA_Decryptor decryptor;
        CryptoPP::StringSource key_source(private_key_text, true, new CryptoPP::HexDecoder);
        decryptor.AccessKey().Load(key_source);

        std::string ciphertext;
        CryptoPP::StringSource(std::string(ciphertext_text), true,
                               new CryptoPP::HexDecoder(new CryptoPP::StringSink(ciphertext)));
        if (ciphertext.size() != decryptor.FixedCiphertextLength()) return false;

        // One per call, not one per thread: the Windows build's runtime may free a thread's storage
        // before it destroys a thread_local object there, which corrupts the heap when the thread ends.
        CryptoPP::AutoSeededRandomPool blinding;
        plaintext.resize(decryptor.MaxPlaintextLength(ciphertext.size()));
        const CryptoPP::DecodingResult result =
            decryptor.Decrypt(blinding, reinterpret_cast<const CryptoPP::byte*>(ciphertext.data()),
                              ciphertext.size(), reinterpret_cast<CryptoPP::byte*>(plaintext.data()));
        if (!result.isValidCoding) {
            plaintext.clear();
            return false;
        }
        plaintext.resize(result.messageLength);
    } catch (const std::exception&) {
        plaintext.clear();
        return false;
    }
    return true;
}

bool OpenKeyBlock(const std::string& private_key_text, const char* block, std::size_t size,
                  SessionKeyContext& context) {
    const void* end = std::memchr(block, 0, size);
    const std::size_t text_length = end ? static_cast<const char*>(end) - block : size;
    std::string session_text;
    if (!RsaDecryptHex(private_key_text, std::string_view(block, text_length), session_text)) return false;
    if (session_text.size() < kSessionTextSize) return false;
    const std::string_view text(session_text);
    SetSessionKeyHex(context, text.substr(0, 32));
    SetSessionIvHex(context, text.substr(32, 32));
    return true;
}

void SetSessionKeyHex(SessionKeyContext& context, std::string_view hex) { decode_hex_into(context.session_key, hex); }

void SetSessionIvHex(SessionKeyContext& context, std::string_view hex) { decode_hex_into(context.session_iv, hex); }

void CfbEncrypt(const std::uint8_t* key, const std::uint8_t* iv, std::uint8_t* output, const std::uint8_t* input,
                std::size_t length) {
    CryptoPP::CFB_Mode<CryptoPP::AES>::Encryption cipher(key, kSessionKeySize, iv);
    cipher.ProcessData(output, input, length);
}

void CfbDecrypt(const std::uint8_t* key, const std::uint8_t* iv, std::uint8_t* output, const std::uint8_t* input,
                std::size_t length) {
    CryptoPP::CFB_Mode<CryptoPP::AES>::Decryption cipher(key, kSessionKeySize, iv);
    cipher.ProcessData(output, input, length);
}
