#pragma once

#include <string_view>

// Where bytes go, piece by piece: a file, a compressor, or a redactor in front of either.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be taken; the sink is of no further use then.
    virtual bool write(std::string_view bytes) = 0;
};
