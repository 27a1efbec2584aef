#include "report/archive_digest.h"

#include <cryptopp/hex.h>
#include <cryptopp/sha.h>

#include <fstream>
#include <vector>

#include "sys/exe_facts.h"
#include "sys/fs_path.h"
#include "sys/new_file.h"

std::string file_sha256_hex(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    if (!in) return {};
    CryptoPP::SHA256 hash;
    std::vector<char> block(64 * 1024);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        hash.Update(reinterpret_cast<const CryptoPP::byte*>(block.data()), static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) return {};
    CryptoPP::byte digest[CryptoPP::SHA256::DIGESTSIZE];
    hash.Final(digest);
    std::string hex;
    CryptoPP::HexEncoder encoder(new CryptoPP::StringSink(hex), false);
    encoder.Put(digest, sizeof digest);
    encoder.MessageEnd();
    return hex;
}

std::string write_sha256_sidecar(const std::string& archive_path) {
    const std::string hex = file_sha256_hex(archive_path);
    if (hex.empty()) return {};
    const std::string line = hex + "  " + split_path(archive_path, 5) + "\n";
    // The archive's name carries the time: an older file of the same name is stale, so it is replaced.
    if (!write_new_file(archive_path + ".sha256", line, false, true)) return {};
    return hex;
}
