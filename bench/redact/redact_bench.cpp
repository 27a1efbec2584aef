// How fast log text passes through the redactor: a support bundle's logs can reach hundreds of MB.
#include <benchmark/benchmark.h>

#include <string>

#include "report/redactor.h"

namespace {

// About 1 MB of log lines; with private values, every line holds an address, a MAC address, an
// e-mail address, the login and a path under the home folder.
std::string log_text(bool private_values) {
    std::string text;
    for (int i = 0; text.size() < 1024 * 1024; ++i) {
        const std::string n = std::to_string(i % 250);
        text += "2026-12-09 14:07:09.123 [info] CSession::OnConnect session " + std::to_string(i);
        if (private_values)
            text += " from 192.168." + n + ".7:7002 mac 00:1a:2b:3c:4d:" + std::to_string(10 + i % 80) +
                    " user jkim@example.org login jkim file /home/jkim/logs/a" + n + ".log\n";
        else
            text += " relay handshake finished in " + n + " ms, frame sent, quality 80, state ok\n";
    }
    return text;
}

void BM_Redact(benchmark::State& state) {
    const std::string text = log_text(state.range(0) != 0);
    Redactor redactor(UserIdentity{"kiosk-07", "jkim", "Kim Jiwoo", "/home/jkim"});
    for (auto _ : state) benchmark::DoNotOptimize(redactor.redact(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Redact)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
