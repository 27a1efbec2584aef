// Entry names come from file names on disk, which may hold any bytes. Whatever the name, the archive
// must stay readable: every entry the writer accepted is in the central directory under the name it
// was given (with "/" for "\"), and the UTF-8 flag is set only on names that are valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "net/http_body_sink.h"
#include "report/zip_writer.h"

namespace {

const std::filesystem::path& work_folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("zip_names_fuzzer_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
        std::ofstream(path / "source.txt") << "a line of a log\r\n";
        return path;
    }();
    return folder;
}

std::uint32_t u16(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t u32(const std::vector<unsigned char>& b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = text.find('\n');
    const std::string file_name = text.substr(0, cut);
    const std::string folder_name = cut == std::string::npos ? std::string() : text.substr(cut + 1);

    const std::string archive = (work_folder() / "names.zip").string();
    ZipHandle zip = ZipCreate(archive);
    if (!zip) std::abort();
    std::vector<std::string> expected;
    for (const std::string& name : {folder_name, file_name}) {
        const bool folder = &name == &folder_name;
        const int result =
            folder ? ZipAddFolder(zip, name) : ZipAddFile(zip, name, (work_folder() / "source.txt").string());
        if (result != kZipOk) continue;
        std::string stored = name;
        for (char& c : stored)
            if (c == '\\') c = '/';
        if (folder && stored.back() != '/') stored += '/';
        expected.push_back(stored);
    }
    if (ZipClose(zip) != kZipOk) std::abort();

    std::ifstream in(archive, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 22 || u32(bytes, bytes.size() - 22) != 0x06054b50) std::abort();
    const std::size_t count = u16(bytes, bytes.size() - 12);
    std::size_t at = u32(bytes, bytes.size() - 6);
    if (count != expected.size()) std::abort();
    for (std::size_t i = 0; i < count; ++i) {
        if (at + 46 > bytes.size() || u32(bytes, at) != 0x02014b50) std::abort();
        const std::size_t name_length = u16(bytes, at + 28);
        const std::string name(bytes.begin() + at + 46, bytes.begin() + at + 46 + name_length);
        if (name != expected[i]) std::abort();
        const bool utf8_flag = u16(bytes, at + 8) & 0x0800;
        if (utf8_flag && valid_utf8(name) != name) std::abort();
        at += 46 + name_length + u16(bytes, at + 30) + u16(bytes, at + 32);
    }
    return 0;
}
