// A log file may hold any bytes, and an archive among the logs may be built to mislead its reader.
// Whatever the file, its redacted copy is made without a crash or a leak; content that is not text
// comes back byte for byte; and the text read in pieces is redacted as it would be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "report/redacted_copy.h"
#include "report/redaction_stream.h"
#include "report/redactor.h"

namespace {

const std::filesystem::path& work_folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("redacted_copy_fuzzer_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

const UserIdentity kIdentity{"kiosk-07.corp.example.com", "jkim", "Kim Jiwoo", "/home/jkim"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string source = (work_folder() / "in.log").string();
    const std::string copy = (work_folder() / "out.log").string();
    std::filesystem::remove_all(copy);
    std::ofstream(source, std::ios::binary | std::ios::trunc) << bytes;

    Redactor redactor(kIdentity);
    const RedactedCopy made = write_redacted_copy(redactor, source, copy, false);
    if (!made.written) std::abort();
    if (made.unredacted.size() == 1 && made.unredacted[0].part.empty()) {
        std::ifstream in(copy, std::ios::binary);
        if (std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) != bytes)
            std::abort();
    }

    const size_t piece = size > 0 ? data[0] % 97 + 1 : 1;
    Redactor whole(kIdentity), pieces(kIdentity);
    RedactionStream stream(pieces);
    std::string out;
    for (size_t at = 0; at < bytes.size(); at += piece)
        stream.write(std::string_view(bytes).substr(at, piece), out);
    stream.finish(out);
    if (out != whole.redact(bytes)) std::abort();
    return 0;
}
