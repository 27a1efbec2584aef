#pragma once

#include <string>

// The relay's side of the cryptography, over OpenSSL, so that it shares no code with the client's.

struct PublicKeyFacts {
    int modulus_bits = 0;
    long exponent = 0;
};

// Reads an X.509 SubjectPublicKeyInfo (DER) holding an RSA key.
bool read_public_key(const std::string& der, PublicKeyFacts& facts);
// RSAES-OAEP with SHA-1 and MGF1-SHA-1, empty label.
bool oaep_encrypt(const std::string& public_key_der, const std::string& plaintext, std::string& ciphertext);
// AES-128 in CFB mode with 128-bit feedback, started at the IV.
std::string cfb128(const std::string& key, const std::string& iv, const std::string& data, bool encrypt);
std::string random_bytes(int count);

std::string to_hex(const std::string& bytes, bool lower_case = false);
// Decodes pairs of hexadecimal digits; false when the text is not that.
bool from_hex(const std::string& hex, std::string& bytes);
