#include "app/collection_progress.h"

#include <algorithm>

int step_end_position(int position)
{
    return (position / kTicksPerStep + 1) * kTicksPerStep;
}

int packing_position(int position, std::uint64_t done, std::uint64_t total)
{
    const int step_start = position / kTicksPerStep * kTicksPerStep;
    if (total == 0)
        return position;
    // In long double, whose 64-bit mantissa holds any byte count exactly, so huge sizes cannot overflow.
    const auto ticks = static_cast<int>(static_cast<long double>(std::min(done, total)) * kTicksPerStep / total);
    return std::max(position, step_start + std::min(ticks, kTicksPerStep - 1));
}
