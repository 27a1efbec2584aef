#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// UTF-16 text in either byte order to UTF-8 and back, piece by piece and without loss: a lone
// surrogate becomes the three bytes it would take as a character (as WTF-8 does) and goes back the
// same way, so that a log that is not quite valid UTF-16 still comes out as it went in.

class Utf16Decoder {
public:
    explicit Utf16Decoder(bool big_endian) : big_endian(big_endian) {}
    // Appends the UTF-8 of the complete code units; an odd last byte waits for the next piece.
    void decode(std::string_view bytes, std::string& utf8);
    // Ends the text: a high surrogate still waiting goes out alone.
    void finish(std::string& utf8);
    // The odd byte left at the end of the text, which no code unit holds; empty or one byte.
    const std::string& odd_byte() const { return odd; }

private:
    bool big_endian;
    std::string odd;
    uint16_t high = 0;  // a high surrogate waiting for its low one
};

class Utf16Encoder {
public:
    explicit Utf16Encoder(bool big_endian) : big_endian(big_endian) {}
    // Appends the UTF-16 of the complete UTF-8 sequences; an incomplete last one waits for the next
    // piece. A byte that starts no sequence becomes U+FFFD.
    void encode(std::string_view utf8, std::string& bytes);
    // Ends the text: what is left of a sequence never completed becomes U+FFFD.
    void finish(std::string& bytes);

private:
    void put_unit(uint32_t unit, std::string& bytes) const;

    bool big_endian;
    std::string partial;
};
