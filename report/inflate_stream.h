#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "report/byte_sink.h"

// What came of unpacking compressed data.
enum class UnpackResult {
    kOk,
    kBroken,    // not valid compressed data, cut short, or a wrong checksum
    kTooLarge,  // it would unpack to more than the budget allows
    kRefused,   // the sink refused the bytes
};

// Inflates deflate data, raw (as ZIP entries hold it) or in gzip's wrapper, into a sink piece by
// piece. Every byte given out is taken from a budget, so that a small archive cannot unpack into
// more than its reader means to handle.
class Inflater {
public:
    explicit Inflater(bool gzip);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates from the front of input into sink; at the end of a stream it sets ended and leaves
    // what follows in input.
    UnpackResult feed(std::string_view& input, ByteSink& sink, uint64_t& budget, bool& ended);
    // Starts the next stream (the next member of a gzip file).
    bool restart();

private:
    z_stream z{};
    bool usable = false;
    std::string out;
};
