#include "tests/e2e/bundle_reading_support.h"

#include <cryptopp/filters.h>
#include <cryptopp/hex.h>
#include <cryptopp/sha.h>

#include <filesystem>

#include "tests/report/zip_test_support.h"

std::string sha256_of_file(const std::string& path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    if (!in) return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string digest;
    CryptoPP::SHA256 hash;
    CryptoPP::StringSource(
        bytes, true,
        new CryptoPP::HashFilter(hash, new CryptoPP::HexEncoder(new CryptoPP::StringSink(digest), false)));
    return digest;
}

bool unpack_all(const std::string& archive, const std::string& folder) {
    const ZipLayout layout = read_zip_layout(archive);
    if (!layout.ok) return false;
    bool whole = true;
    for (const ZipHeaderFields& entry : layout.central) {
        // Our archives hold plain relative names; anything climbing out would be a fault of its own.
        const std::filesystem::path name = fs_path(entry.name);
        if (entry.name.empty() || name.is_absolute() || entry.name[0] == '/') return false;
        for (const auto& part : name)
            if (part == "..") return false;
        const std::filesystem::path target = fs_path(folder + "/" + entry.name);
        if (entry.name.back() == '/') {
            std::filesystem::create_directories(target);
            continue;
        }
        const std::string content = unzip_entry(archive, entry.name);
        if (content.size() != entry.uncompressed) whole = false;
        std::filesystem::create_directories(target.parent_path());
        write_file_bytes(utf8_of(target), content);
        if (target.extension() == ".zip")
            whole = unpack_all(utf8_of(target), utf8_of(target) + ".d") && whole;
    }
    return whole;
}
