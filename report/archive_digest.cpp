#include "report/archive_digest.h"

#include <cryptopp/sha.h>

#include <fstream>
#include <functional>
#include <future>
#include <vector>

#include "net/md5_digest.h"
#include "sys/exe_facts.h"
#include "sys/fs_path.h"
#include "sys/new_file.h"

namespace {

// Hands the file's bytes to `add` block by block; false when it cannot be read to its end.
bool read_blocks(const std::string& path, const std::function<void(const char*, std::size_t)>& add) {
    std::ifstream in(fs_path(path), std::ios::binary);
    if (!in) return false;
    std::vector<char> block(64 * 1024);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        add(block.data(), static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

std::string file_md5(const std::string& path) {
    Md5Digest digest;
    if (!read_blocks(path, [&](const char* data, std::size_t size) { digest.add(data, size); })) return {};
    return digest.finish();
}

std::string file_sha256(const std::string& path) {
    CryptoPP::SHA256 hash;
    if (!read_blocks(path, [&](const char* data, std::size_t size) {
            hash.Update(reinterpret_cast<const CryptoPP::byte*>(data), size);
        }))
        return {};
    std::string digest(CryptoPP::SHA256::DIGESTSIZE, '\0');
    hash.Final(reinterpret_cast<CryptoPP::byte*>(digest.data()));
    return digest;
}

}  // namespace

ArchiveDigests file_digests(const std::string& path) {
    // Two readers of a file just written: the second read comes from the cache, and the two hashes,
    // neither of which can use more than one core, run side by side.
    std::future<std::string> md5 = std::async(std::launch::async, file_md5, path);
    const std::string sha256 = file_sha256(path);
    ArchiveDigests digests;
    digests.md5 = md5.get();
    if (sha256.empty() || digests.md5.empty()) return {};
    digests.sha256_hex = hex_text(sha256);
    return digests;
}

ArchiveDigests write_sha256_sidecar(const std::string& archive_path) {
    const ArchiveDigests digests = file_digests(archive_path);
    if (!digests.known()) return {};
    const std::string line = digests.sha256_hex + "  " + split_path(archive_path, 5) + "\n";
    // The archive's name carries the time: an older file of the same name is stale, so it is replaced.
    if (!write_new_file(archive_path + ".sha256", line, false, true)) return {};
    return digests;
}
