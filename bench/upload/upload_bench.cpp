// Our upload against curl -T: the same file, the same nginx, loopback TLS, one run. Targets: at most
// 1.1 x curl's wall time, and at most 32 MB of peak memory whatever the file's size (it streams).
//
// The tool sends an archive whose MD5 was taken with its checksum, in the pass over the archive that
// writes "<archive>.sha256"; "ours" sends so. What that pass costs, with and without the MD5, is
// measured here too, and so is an upload that hashes what it sends (no checksum taken before).
//
//   bench_upload [MB]                   the comparison (default 200 MB, best of 3 rounds each)
//   bench_upload send URL FILE CA [MD5] one upload, as the comparison runs it (in a process of its
//                                       own, so that its peak memory is its own); MD5 in hexadecimal
#include <cryptopp/sha.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/zip/child_usage.h"
#include "net/file_upload.h"
#include "net/md5_digest.h"
#include "report/archive_digest.h"
#include "tests/integration/nginx_server.h"

namespace {

constexpr int kRounds = 3;

int send(const std::string& url, const std::string& file, const std::string& authority,
         const std::string& md5_hex) {
    UploadRequest request;
    request.url = url;
    request.file = file;
    request.extra_authority_file = authority;
    for (std::size_t at = 0; at + 1 < md5_hex.size(); at += 2)
        request.known_md5 += static_cast<char>(std::stoi(md5_hex.substr(at, 2), nullptr, 16));
    const UploadResult result = upload_file(request);
    if (!result.ok()) std::fprintf(stderr, "upload failed: %s\n", result.message.c_str());
    return result.ok() ? 0 : 1;
}

void write_random_file(const std::string& path, std::uint64_t megabytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
    for (std::uint64_t i = 0; i < megabytes; ++i) {
        for (auto& word : block) word = random();
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(block.size() * 8));
    }
}

struct Measure {
    const char* name;
    std::vector<std::string> command;
    std::string stored;
    double best_seconds = 1e30;
    long peak_kib = 0;
    bool ok = true;
};

void run(Measure& m, std::uintmax_t size) {
    std::filesystem::remove(m.stored);
    const ChildUsage u = run_child(m.command);
    std::error_code error;
    m.ok = m.ok && u.started && u.exit_code == 0 && std::filesystem::file_size(m.stored, error) == size;
    m.best_seconds = std::min(m.best_seconds, u.seconds);
    m.peak_kib = std::max(m.peak_kib, u.peak_kib);
    std::filesystem::remove(m.stored);
}

// The best of kRounds runs of `pass`, in seconds.
template <typename Pass>
double best_seconds_of(Pass pass) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        pass();
        best =
            std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// The checksum pass as it was before it took the MD5 too.
void sha256_only(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    CryptoPP::SHA256 hash;
    std::vector<char> block(64 * 1024);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        hash.Update(reinterpret_cast<const CryptoPP::byte*>(block.data()), static_cast<size_t>(in.gcount()));
    }
    CryptoPP::byte digest[CryptoPP::SHA256::DIGESTSIZE];
    hash.Final(digest);
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 5 || argc == 6) && std::string(argv[1]) == "send")
        return send(argv[2], argv[3], argv[4], argc == 6 ? argv[5] : "");
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200;
    NginxServer nginx;
    if (!nginx.start()) {
        std::fprintf(stderr, "%s\n", nginx.error().c_str());
        return 1;
    }
    const std::string file = nginx.work_folder() + "/bundle.zip";
    write_random_file(file, megabytes);
    const std::uintmax_t size = std::filesystem::file_size(file);
    const std::string base = "https://127.0.0.1:" + std::to_string(nginx.port());
    ArchiveDigests digests;
    const double sha256_seconds = best_seconds_of([&] { sha256_only(file); });
    const double digests_seconds = best_seconds_of([&] { digests = file_digests(file); });
    std::vector<Measure> all = {
        {"curl -T",
         {"curl", "-sS", "-o", "/dev/null", "--cacert", nginx.authority_file(), "-T", file,
          base + "/curl.zip?sig=x"},
         nginx.stored_file("/curl.zip")},
        {"ours",
         {"/proc/self/exe", "send", base + "/ours.zip?sig=x", file, nginx.authority_file(),
          hex_text(digests.md5)},
         nginx.stored_file("/ours.zip")},
        {"ours, hashing",
         {"/proc/self/exe", "send", base + "/hashing.zip?sig=x", file, nginx.authority_file()},
         nginx.stored_file("/hashing.zip")},
    };
    // Taking turns, so that both see the same load on the machine.
    for (int round = 0; round < kRounds; ++round)
        for (Measure& m : all) run(m, size);

    std::printf("file: %llu MB to nginx over loopback TLS, best of %d rounds\n",
                static_cast<unsigned long long>(megabytes), kRounds);
    const auto megabytes_of = [](long kib) { return static_cast<double>(kib) * 1024 / 1e6; };
    std::printf("%-14s %9s %9s %9s\n", "", "wall (s)", "x curl", "peak (MB)");
    for (const Measure& m : all)
        std::printf("%-14s %9.3f %9.3f %9.1f%s\n", m.name, m.best_seconds,
                    m.best_seconds / all[0].best_seconds, megabytes_of(m.peak_kib), m.ok ? "" : "  FAILED");
    const double wall = all[1].best_seconds / all[0].best_seconds;
    const double peak = megabytes_of(all[1].peak_kib);
    std::printf("wall %.3f x curl (target <= 1.1): %s\n", wall, wall <= 1.1 ? "met" : "MISSED");
    std::printf("peak %.1f MB (target <= 32): %s\n", peak, peak <= 32 ? "met" : "MISSED");
    std::printf("checksum pass over the archive: SHA-256 alone %.3f s, with the MD5 beside it %.3f s\n",
                sha256_seconds, digests_seconds);
    return std::all_of(all.begin(), all.end(), [](const Measure& m) { return m.ok; }) ? 0 : 1;
}
