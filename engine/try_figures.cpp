#include "engine/try_figures.h"

#include <algorithm>

std::optional<TryFigures> try_figures(const std::vector<CheckTry>& tries) {
    if (tries.empty()) return std::nullopt;
    std::vector<int> times;
    for (const CheckTry& t : tries) times.push_back(t.elapsed_ms);
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    // 64-bit sum: two long tries must not overflow.
    const long long middle =
        n % 2 ? 2LL * times[n / 2] : static_cast<long long>(times[n / 2 - 1]) + times[n / 2];
    return TryFigures{times.front(), static_cast<int>((middle + 1) / 2), times.back()};
}
