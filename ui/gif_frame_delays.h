#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

// The frame delays (hundredths of a second) of a GIF, one per image, read from the graphic control
// extensions without decoding any pixels; an image without one gets 0. A damaged file gives the delays
// of the images before the damage, or nothing when there are none.
std::optional<std::vector<int>> ReadGifFrameDelays(const QByteArray& gif);
