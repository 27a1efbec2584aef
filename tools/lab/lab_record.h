#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// What the lab's servers saw, for tests to assert on the peer's view.

struct HttpRequestSeen {
    std::string server;
    std::string method;
    std::string path;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // its first megabyte
    long body_length = 0;
    std::string body_md5;  // hexadecimal, of the whole body received
};

struct RelayCommandSeen {
    std::string cipher_hex;
    int value = 0;
    int reply = -1;  // -1: not answered
};

struct RelayConnectionSeen {
    std::string server;
    int try_number = 0;
    bool public_key_received = false;
    std::string public_key;          // the 320 characters as received
    int public_key_terminator = -1;  // the 321st byte
    int modulus_bits = 0;
    long exponent = 0;
    std::string session_text;
    std::string key_block;  // the text sent, without its NUL
    std::vector<RelayCommandSeen> commands;
};

class LabRecord {
public:
    void add(HttpRequestSeen request);
    void add(RelayConnectionSeen connection);
    // The record as one JSON document, with the bound ports.
    bool write(const std::string& path, const std::map<std::string, int>& ports) const;

private:
    mutable std::mutex lock;
    std::vector<HttpRequestSeen> requests;
    std::vector<RelayConnectionSeen> connections;
};
