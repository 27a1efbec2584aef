#include "report/text_redaction_sink.h"

#include <algorithm>

namespace {

constexpr size_t kZeroPiece = 64 * 1024;

}  // namespace

TextRedactionSink::TextRedactionSink(Redactor& redactor, ByteSink& out) : out(out), stream(redactor) {}

bool TextRedactionSink::write(std::string_view bytes) {
    if (chosen) return pass(bytes);
    if (head.empty()) {
        const size_t zeros = std::min(bytes.find_first_not_of('\0'), bytes.size());
        leading_zeros += zeros;
        bytes.remove_prefix(zeros);
    }
    head.append(bytes);
    return head.size() < kSniffBytes || decide();
}

bool TextRedactionSink::decide() {
    chosen = sniff_encoding(std::string_view(head).substr(0, kSniffBytes), leading_zeros);
    const bool utf16 = chosen == TextEncoding::kUtf16Le || chosen == TextEncoding::kUtf16Be;
    if (utf16) {
        decoder.emplace(chosen == TextEncoding::kUtf16Be);
        encoder.emplace(chosen == TextEncoding::kUtf16Be);
    }
    const std::string zeros(static_cast<size_t>(std::min<uint64_t>(leading_zeros, kZeroPiece)), '\0');
    for (uint64_t left = leading_zeros; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(left, zeros.size()));
        if (!pass(std::string_view(zeros).substr(0, n))) return false;
        left -= n;
    }
    const bool ok = pass(head);
    head.clear();
    head.shrink_to_fit();
    return ok;
}

bool TextRedactionSink::pass(std::string_view bytes) {
    switch (*chosen) {
        case TextEncoding::kBinary:
            return out.write(bytes);
        case TextEncoding::kBytes:
            redacted.clear();
            stream.write(bytes, redacted);
            return out.write(redacted);
        default:
            utf8.clear();
            decoder->decode(bytes, utf8);
            redacted.clear();
            stream.write(utf8, redacted);
            encoded.clear();
            encoder->encode(redacted, encoded);
            return out.write(encoded);
    }
}

bool TextRedactionSink::finish() {
    if (!chosen && !decide()) return false;
    if (*chosen == TextEncoding::kBinary) return true;
    utf8.clear();
    redacted.clear();
    if (decoder) {
        decoder->finish(utf8);
        stream.write(utf8, redacted);
    }
    stream.finish(redacted);
    if (!decoder) return out.write(redacted);
    encoded.clear();
    encoder->encode(redacted, encoded);
    encoder->finish(encoded);
    return out.write(encoded) && out.write(decoder->odd_byte());
}
