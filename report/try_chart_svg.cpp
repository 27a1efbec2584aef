#include "report/try_chart_svg.h"

#include <algorithm>

#include "report/html_text.h"
#include "res/engine_texts.h"
#include "res/report_texts.h"
#include "res/string_table.h"

namespace {

constexpr int kBarWidth = 7;
constexpr int kBarGap = 3;
constexpr int kChartHeight = 24;
constexpr int kLowestBar = 2;  // a try of 0 ms still shows
// Tries this fast all look alike: a spread of 0 to 2 ms must not fill the chart.
constexpr int kSmallestScaleMs = 20;

}  // namespace

std::string try_chart_svg(const std::vector<SummaryTry>& tries) {
    if (tries.empty()) return {};
    int slowest = kSmallestScaleMs;
    for (const SummaryTry& t : tries) slowest = std::max(slowest, t.elapsed_ms);
    const int width = static_cast<int>(tries.size()) * (kBarWidth + kBarGap) - kBarGap;
    std::string svg = "<svg class=\"tries\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(kChartHeight) +
                      "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(kChartHeight) +
                      "\" role=\"img\" aria-label=\"" +
                      html_escape(load_string(text::kTriesChart, {std::to_string(tries.size())})) + "\">";
    for (size_t i = 0; i < tries.size(); ++i) {
        const SummaryTry& t = tries[i];
        // A failed try stands out at full height whatever it took; its tooltip tells the time.
        const long long scaled = static_cast<long long>(std::max(0, t.elapsed_ms)) * kChartHeight / slowest;
        const int height = t.ok ? std::max(kLowestBar, static_cast<int>(scaled)) : kChartHeight;
        std::string fill = css_color(t.color);
        if (fill.empty()) fill = "#404040";
        svg += "<rect x=\"" + std::to_string(static_cast<int>(i) * (kBarWidth + kBarGap)) + "\" y=\"" +
               std::to_string(kChartHeight - height) + "\" width=\"" + std::to_string(kBarWidth) +
               "\" height=\"" + std::to_string(height) + "\" fill=\"" + fill + "\"><title>" +
               html_escape(load_string(text::kTryBar, {std::to_string(i + 1), std::to_string(t.elapsed_ms),
                                                       load_string(t.ok ? text::kRowOk : text::kRowFail)})) +
               "</title></rect>";
    }
    return svg + "</svg>";
}
