#pragma once

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <fstream>
#include <sstream>
#include <string>

// Values from the relay test vectors made with OpenSSL (tests/data), so that the client and
// the lab are checked against a third party rather than against each other.
struct RelayVectors {
    std::string private_key_hex;
    std::string public_key_hex;
    std::string session_key_hex;
    std::string session_iv_hex;
    std::string session_text;
    std::string key_block_upper_hex;
    std::string key_block_lower_hex;
    std::string start_command_cipher_hex;
    std::string start_ok_cipher_hex;
};

inline RelayVectors load_relay_vectors() {
    RelayVectors vectors;
    std::ifstream file(std::string(CHECKTOOL_TESTDATA_DIR) + "/relay_vectors.json");
    std::stringstream text;
    text << file.rdbuf();
    rapidjson::Document document;
    document.Parse(text.str().c_str());
    EXPECT_TRUE(document.IsObject()) << "relay_vectors.json is missing or malformed";
    if (!document.IsObject()) return vectors;
    auto member = [&](const char* name) {
        auto found = document.FindMember(name);
        return found != document.MemberEnd() && found->value.IsString() ? std::string(found->value.GetString())
                                                                        : std::string();
    };
    vectors.private_key_hex = member("private_key_pkcs8_der_hex");
    vectors.public_key_hex = member("public_key_x509_der_hex");
    vectors.session_key_hex = member("session_key_hex");
    vectors.session_iv_hex = member("session_iv_hex");
    vectors.session_text = member("session_text");
    vectors.key_block_upper_hex = member("key_block_upper_hex");
    vectors.key_block_lower_hex = member("key_block_lower_hex");
    vectors.start_command_cipher_hex = member("start_command_cipher_hex");
    vectors.start_ok_cipher_hex = member("start_ok_cipher_hex");
    return vectors;
}

inline std::string bytes_from_hex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline std::string hex_from_bytes(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}
