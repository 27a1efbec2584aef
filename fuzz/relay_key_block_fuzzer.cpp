// The key block is the first thing a relay sends, and the relay may be anyone's. Whatever its 257
// bytes hold, opening it must neither crash nor read past it, and a refused block leaves the session
// key as it was. The private key is the one the shared relay vectors were made for, so the seed
// corpus holds real key blocks and the decrypting path is reached too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "json/json_document.h"
#include "net/relay_crypto.h"

namespace {

const std::string& vector_private_key() {
    static const std::string key = [] {
        std::ifstream in(CHECKTOOL_TESTDATA_DIR "/relay_vectors.json");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        rapidjson::Document document;
        if (!JsonParse(document, text)) std::abort();
        return JsonMemberText(document, "private_key_pkcs8_der_hex", "");
    }();
    return key;
}

constexpr std::size_t kKeyBlockSize = 257;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kKeyBlockSize) return 0;
    // Exactly as many bytes as arrived, on the heap, so that a read past them is caught.
    const auto block = std::make_unique<char[]>(size ? size : 1);
    std::memcpy(block.get(), data, size);

    SessionKeyContext context;
    std::memset(context.session_key, 0x5A, sizeof context.session_key);
    const SessionKeyContext before = context;
    if (!OpenKeyBlock(vector_private_key(), block.get(), size, context) &&
        std::memcmp(&before, &context, sizeof context) != 0)
        std::abort();
    return 0;
}
