#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "report/byte_sink.h"
#include "report/redaction_stream.h"
#include "report/text_encoding.h"
#include "report/utf16_text.h"

class Redactor;

// Passes a file's bytes on to out with its private values redacted, in the file's own encoding:
// UTF-16 stays UTF-16 in its byte order, zero-byte padding stays where it was, and binary content
// goes on unchanged. The encoding is told from the first kSniffBytes after any leading padding, so
// the first bytes are held back until then.
class TextRedactionSink : public ByteSink {
public:
    TextRedactionSink(Redactor& redactor, ByteSink& out);

    bool write(std::string_view bytes) override;
    // Passes on what is still held back; false when out refused anything.
    bool finish();
    // The encoding, once the start has been seen (or at finish); none before.
    std::optional<TextEncoding> encoding() const { return chosen; }

private:
    bool decide();
    bool pass(std::string_view bytes);

    ByteSink& out;
    RedactionStream stream;
    std::optional<TextEncoding> chosen;
    uint64_t leading_zeros = 0;
    std::string head;
    std::optional<Utf16Decoder> decoder;
    std::optional<Utf16Encoder> encoder;
    std::string utf8, redacted, encoded;  // reused from piece to piece
};
