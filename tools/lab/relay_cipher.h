#pragma once

#include <openssl/types.h>

#include <memory>
#include <string>

// The relay's side of the cryptography, over OpenSSL, so that it shares no code with the client's.

// A client's RSA public key, read once per connection.
class RsaPublicKey {
public:
    // An X.509 SubjectPublicKeyInfo (DER); anything else, or a key that is not RSA, gives no key.
    explicit RsaPublicKey(const std::string& der);
    bool valid() const { return key != nullptr; }
    int modulus_bits() const;
    long exponent() const;
    // RSAES-OAEP with SHA-1 and MGF1-SHA-1, empty label.
    bool oaep_encrypt(const std::string& plaintext, std::string& ciphertext) const;

private:
    struct KeyFree {
        void operator()(RSA* key) const;
    };
    std::unique_ptr<RSA, KeyFree> key;
};
// AES-128 in CFB mode with 128-bit feedback, started at the IV.
std::string cfb128(const std::string& key, const std::string& iv, const std::string& data, bool encrypt);
std::string random_bytes(int count);

std::string to_hex(const std::string& bytes, bool lower_case = false);
// Decodes pairs of hexadecimal digits; false when the text is not that.
bool from_hex(const std::string& hex, std::string& bytes);
