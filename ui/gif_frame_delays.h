#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

// The frame delays (hundredths of a second) of a GIF, one per image, read from the graphic control
// extensions without decoding any pixels; an image without one gets 0. Nothing for a damaged file.
std::optional<std::vector<int>> ReadGifFrameDelays(const QByteArray& gif);
