#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The relay channel's cryptography. None of these functions throws.

inline constexpr std::size_t kSessionKeySize = 16;
inline constexpr std::size_t kPublicKeyTextSize = 320;
inline constexpr std::size_t kPrivateKeyTextCapacity = 1299;
inline constexpr std::size_t kSessionTextSize = 64;  // key and IV, 32 hexadecimal characters each

struct SessionKeyContext {
    std::uint8_t session_key[kSessionKeySize] = {};
    std::uint8_t session_iv[kSessionKeySize] = {};
};

// A fresh RSA key with a 1024-bit modulus and public exponent 17, as upper-case hexadecimal text:
// the private key's PKCS #8 DER (at most kPrivateKeyTextCapacity characters) and the public key's
// X.509 SubjectPublicKeyInfo DER (exactly kPublicKeyTextSize characters).
bool GenerateRsaKeyPair(std::string& private_key_text, std::string& public_key_text);

// RSAES-OAEP (SHA-1) decryption of a hexadecimal ciphertext (either case). False when the text is
// not hexadecimal or the ciphertext does not decrypt.
bool RsaDecryptHex(const std::string& private_key_text, std::string_view ciphertext_text,
                   std::string& plaintext);

// Takes the session key and IV out of a key block as the relay sends it: hexadecimal RSAES-OAEP
// ciphertext, meant to end with a NUL but read only within its size either way. False when the block
// is unusable (not hexadecimal, does not decrypt, too short a session text); the context is then
// left as it was.
bool OpenKeyBlock(const std::string& private_key_text, const char* block, std::size_t size,
                  SessionKeyContext& context);

// Zero the key (or IV), then decode 32 hexadecimal characters into it.
void SetSessionKeyHex(SessionKeyContext& context, std::string_view hex);
void SetSessionIvHex(SessionKeyContext& context, std::string_view hex);

// AES-128 in CFB mode with full-block feedback, started afresh at the IV for every message.
void CfbEncrypt(const std::uint8_t* key, const std::uint8_t* iv, std::uint8_t* output,
                const std::uint8_t* input, std::size_t length);
void CfbDecrypt(const std::uint8_t* key, const std::uint8_t* iv, std::uint8_t* output,
                const std::uint8_t* input, std::size_t length);
