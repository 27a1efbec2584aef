#include "net/relay_crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cryptopp/rsa.h>
#include <cryptopp/hex.h>
#include <cryptopp/osrng.h>

#include "tests/net/relay_vectors.h"

namespace {

const std::uint8_t* bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

std::string cfb_encrypt(const std::string& key, const std::string& iv, const std::string& plain) {
    std::string out(plain.size(), '\0');
    CfbEncrypt(bytes(key), bytes(iv), reinterpret_cast<std::uint8_t*>(out.data()), bytes(plain), plain.size());
    return out;
}

std::string cfb_decrypt(const std::string& key, const std::string& iv, const std::string& cipher) {
    std::string out(cipher.size(), '\0');
    CfbDecrypt(bytes(key), bytes(iv), reinterpret_cast<std::uint8_t*>(out.data()), bytes(cipher), cipher.size());
    return out;
}

CryptoPP::RSA::PublicKey load_public_key(const std::string& hex) {
    CryptoPP::RSA::PublicKey key;
    CryptoPP::StringSource source(hex, true, new CryptoPP::HexDecoder);
    key.Load(source);
    return key;
}

}  // namespace

TEST(RelayCrypto, DecryptsTheIndependentKeyBlockInEitherCase) {
    const RelayVectors& v = load_relay_vectors();
    for (const std::string& block : {v.key_block_upper_hex, v.key_block_lower_hex}) {
        std::string plain;
        ASSERT_TRUE(RsaDecryptHex(v.private_key_hex, block, plain));
        EXPECT_EQ(plain, v.session_text);
    }
}

TEST(RelayCrypto, RefusesKeyBlocksThatCannotBeDecrypted) {
    const RelayVectors& v = load_relay_vectors();
    std::string not_hex = v.key_block_upper_hex;
    not_hex[10] = 'G';
    const std::string short_block = v.key_block_upper_hex.substr(0, 254);
    const std::string bad_padding(256, 'A');
    for (const std::string& block : {not_hex, short_block, bad_padding, std::string("ABC"), std::string()}) {
        std::string plain = "left over";
        EXPECT_FALSE(RsaDecryptHex(v.private_key_hex, block, plain)) << block;
        EXPECT_TRUE(plain.empty());
    }
    std::string plain;
    EXPECT_FALSE(RsaDecryptHex("not a key", v.key_block_upper_hex, plain));
}

TEST(RelayCrypto, CommandsMatchTheIndependentCipherAndTheWorkedXorExample) {
    const RelayVectors& v = load_relay_vectors();
    const std::string key = bytes_from_hex(v.session_key_hex);
    const std::string iv = bytes_from_hex(v.session_iv_hex);

    EXPECT_EQ(hex_from_bytes(cfb_encrypt(key, iv, bytes_from_hex("2C01"))), v.start_command_cipher_hex);
    EXPECT_EQ(hex_from_bytes(cfb_decrypt(key, iv, bytes_from_hex(v.start_ok_cipher_hex))), "2D01");

    // With full-block feedback the first block's key stream is AES(key, IV): a command is its two
    // bytes XOR the first two bytes of that block, the same for every message.
    const std::string stream = cfb_encrypt(key, iv, std::string(16, '\0'));
    const std::string start = cfb_encrypt(key, iv, bytes_from_hex("2C01"));
    EXPECT_EQ(static_cast<char>(0x2C ^ stream[0]), start[0]);
    EXPECT_EQ(static_cast<char>(0x01 ^ stream[1]), start[1]);
    EXPECT_EQ(cfb_encrypt(key, iv, bytes_from_hex("2C01")), start);
}

TEST(RelayCrypto, GeneratesFreshRsa1024KeysWithExponent17) {
    std::string private_a, public_a, private_b, public_b;
    ASSERT_TRUE(GenerateRsaKeyPair(private_a, public_a));
    ASSERT_TRUE(GenerateRsaKeyPair(private_b, public_b));
    EXPECT_NE(public_a, public_b);
    ASSERT_EQ(public_a.size(), kPublicKeyTextSize);
    EXPECT_LE(private_a.size(), kPrivateKeyTextCapacity);
    EXPECT_TRUE(std::all_of(public_a.begin(), public_a.end(),
                            [](char c) { return std::isdigit(c) || (c >= 'A' && c <= 'F'); }));

    const CryptoPP::RSA::PublicKey key = load_public_key(public_a);
    EXPECT_EQ(key.GetModulus().BitCount(), 1024u);
    EXPECT_EQ(key.GetPublicExponent(), CryptoPP::Integer(17));

    // The pair belongs together: what the public key encrypts, the private text decrypts.
    CryptoPP::AutoSeededRandomPool random;
    CryptoPP::RSAES_OAEP_SHA_Encryptor encryptor(key);
    std::string cipher;
    CryptoPP::StringSource(std::string(64, 'F'), true,
                           new CryptoPP::PK_EncryptorFilter(random, encryptor,
                                                            new CryptoPP::HexEncoder(new CryptoPP::StringSink(cipher))));
    std::string plain;
    ASSERT_TRUE(RsaDecryptHex(private_a, cipher, plain));
    EXPECT_EQ(plain, std::string(64, 'F'));
}

TEST(RelayCrypto, SessionValuesAreZeroedBeforeEachDecoding) {
    SessionKeyContext context;
    SetSessionKeyHex(context, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
    SetSessionKeyHex(context, "12");
    EXPECT_EQ(context.session_key[0], 0x12);
    EXPECT_TRUE(std::all_of(context.session_key + 1, context.session_key + 16, [](auto b) { return b == 0; }));

    // Longer text than the IV holds fills it and stops there.
    SetSessionIvHex(context, std::string(80, 'a'));
    EXPECT_TRUE(std::all_of(context.session_iv, context.session_iv + 16, [](auto b) { return b == 0xAA; }));
}
