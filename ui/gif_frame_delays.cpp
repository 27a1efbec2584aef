#include "ui/gif_frame_delays.h"

namespace {

class ByteCursor {
public:
    explicit ByteCursor(const QByteArray& bytes) : bytes_(bytes) {}
    bool Has(qsizetype n) const { return pos_ + n <= bytes_.size(); }
    int Byte() { return static_cast<unsigned char>(bytes_[pos_++]); }
    int Word()
    {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    void Skip(qsizetype n) { pos_ += n; }

    // Skips a chain of data sub-blocks up to its terminator; false when the data ends first.
    bool SkipSubBlocks()
    {
        while (Has(1)) {
            const int length = Byte();
            if (length == 0)
                return true;
            if (!Has(length))
                return false;
            Skip(length);
        }
        return false;
    }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

// A file that breaks off (or turns to garbage) still tells the delays of its complete images.
std::optional<std::vector<int>> Complete(const std::vector<int>& delays)
{
    return delays.empty() ? std::nullopt : std::optional(delays);
}

}  // namespace

std::optional<std::vector<int>> ReadGifFrameDelays(const QByteArray& gif)
{
    ByteCursor in(gif);
    if (!in.Has(13) || !gif.startsWith("GIF8"))
        return std::nullopt;
    in.Skip(10);
    const int flags = in.Byte();
    in.Skip(2);
    if ((flags & 0x80) != 0)
        in.Skip(3LL * (2LL << (flags & 7)));

    std::vector<int> delays;
    int pending_delay = 0;
    while (in.Has(1)) {
        const int introducer = in.Byte();
        if (introducer == 0x3B)
            return delays;
        if (introducer == 0x21) {
            if (!in.Has(1))
                return Complete(delays);
            const int label = in.Byte();
            if (label == 0xF9 && in.Has(6)) {
                const int size = in.Byte();
                if (size >= 4) {
                    in.Skip(1);
                    pending_delay = in.Word();
                    in.Skip(size - 3);
                } else {
                    in.Skip(size);
                }
            }
            if (!in.SkipSubBlocks())
                return Complete(delays);
        } else if (introducer == 0x2C) {
            if (!in.Has(9))
                return Complete(delays);
            in.Skip(8);
            const int image_flags = in.Byte();
            if ((image_flags & 0x80) != 0)
                in.Skip(3LL * (2LL << (image_flags & 7)));
            if (!in.Has(1))
                return Complete(delays);
            in.Skip(1);  // LZW minimum code size
            if (!in.SkipSubBlocks())
                return Complete(delays);
            delays.push_back(pending_delay);
            pending_delay = 0;
        } else {
            return Complete(delays);
        }
    }
    return Complete(delays);
}
