// Targets: a whole run of the demo product within 0.5 s on loopback, and no CPU spent while the run
// waits on the network (the run's CPU time stays far below its wall time).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "bench/diagnosis/demo_product.h"
#include "engine/diagnosis_run.h"
#include "engine/run_events.h"

namespace {

struct Timing {
    double wall_ms;
    double cpu_ms;
};

template <typename Work>
Timing timed(Work work) {
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    work();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count(),
            1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    ProductLab lab;
    CCheckHost host;
    std::string failure;
    if (!start_demo_product(lab, host, "/nonexistent", failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    size_t items = 0;
    for (const CheckGroup& group : host.check_groups) items += group.size();

    std::vector<double> run_wall, run_cpu, alone_wall, alone_cpu;
    for (int r = 0; r < runs; ++r) {
        RunEvents quiet;
        DiagnosisRun run(host, quiet);
        const Timing whole = timed([&] {
            run.start();
            run.wait();
        });
        run_wall.push_back(whole.wall_ms);
        run_cpu.push_back(whole.cpu_ms);

        // The same checks, called one after the other with nothing around them.
        const Timing alone = timed([&] {
            for (size_t g = 0; g < host.check_groups.size(); ++g) {
                for (size_t i = 0; i < host.check_groups[g].size(); ++i) {
                    CCheckParam record = CCheckParam::for_item(static_cast<int>(g), static_cast<int>(i));
                    (host.*host.check_groups[g][i].handler)(&record);
                }
            }
        });
        alone_wall.push_back(alone.wall_ms);
        alone_cpu.push_back(alone.cpu_ms);
    }
    std::printf("demo product: %zu checks of 10 tries each, %d runs\n", items, runs);
    std::printf("%-34s median %8.1f ms wall  %8.1f ms CPU\n", "whole run (thread_check)", median(run_wall),
                median(run_cpu));
    std::printf("%-34s median %8.1f ms wall  %8.1f ms CPU\n", "its checks called alone", median(alone_wall),
                median(alone_cpu));
    std::printf("target: whole run <= 500 ms: %s\n", median(run_wall) <= 500 ? "met" : "NOT met");
    lab.stop();
    return 0;
}
