// vollo_malloc/vollo_free against the system's malloc/free on the same request
// patterns. Each benchmark reports the time per allocation-and-release pair;
// a table at the end gives the tracked allocator's time as a fraction of the
// system's for every pattern.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "vollo.h"

namespace
{
struct Tracked
{
    static void *take(uint64_t size) { return vollo_malloc(size); }
    static void give(void *pointer) { vollo_free(pointer); }
};

struct System
{
    static void *take(uint64_t size) { return std::malloc(size); }
    static void give(void *pointer) { std::free(pointer); }
};

constexpr int size_classes = 16;  // 32, 64, ... 512 bytes

void count_pairs(benchmark::State &state, double pairs_per_iteration)
{
    state.counters["per_pair"] = benchmark::Counter(
        pairs_per_iteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One block of a fixed size taken and given back at once.
template <typename Allocator>
void same_size(benchmark::State &state)
{
    uint64_t size = static_cast<uint64_t>(state.range(0));
    for (auto _ : state) {
        void *block = Allocator::take(size);
        benchmark::DoNotOptimize(block);
        Allocator::give(block);
    }
    count_pairs(state, 1);
}

// One block of each of the 16 classes, then all released in reverse order.
template <typename Allocator>
void lifo_classes(benchmark::State &state)
{
    void *blocks[size_classes];
    for (auto _ : state) {
        for (int i = 0; i < size_classes; ++i) {
            blocks[i] = Allocator::take(32u * static_cast<uint64_t>(i + 1) - 7);
            benchmark::DoNotOptimize(blocks[i]);
        }
        for (int i = size_classes - 1; i >= 0; --i)
            Allocator::give(blocks[i]);
    }
    count_pairs(state, size_classes);
}

// 256 slots visited in a fixed pseudo-random order: an empty slot gets a
// block of a random class, a full one is released, so blocks live for random
// spans and are released in no particular order.
struct random_script
{
    std::vector<uint16_t> slot;
    std::vector<uint16_t> size;
};

const random_script &script()
{
    static random_script steps = [] {
        random_script s;
        std::mt19937 generator(12345);
        for (int i = 0; i < 4096; ++i) {
            s.slot.push_back(static_cast<uint16_t>(generator() % 256));
            s.size.push_back(static_cast<uint16_t>(32 * (1 + generator() % size_classes) - generator() % 32));
        }
        return s;
    }();
    return steps;
}

template <typename Allocator>
void random_classes(benchmark::State &state)
{
    const random_script &steps = script();
    void *slots[256] = {};
    uint64_t taken = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < steps.slot.size(); ++i) {
            void *&slot = slots[steps.slot[i]];
            if (slot == nullptr) {
                slot = Allocator::take(steps.size[i]);
                benchmark::DoNotOptimize(slot);
                ++taken;
            } else {
                Allocator::give(slot);
                slot = nullptr;
            }
        }
    }
    for (void *&slot : slots)
        if (slot != nullptr) {
            Allocator::give(slot);
            slot = nullptr;
        }
    // Every block taken is released once, so the pairs are the blocks taken.
    state.counters["per_pair"] = benchmark::Counter(
        static_cast<double>(taken), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_TEMPLATE(same_size, Tracked)->Arg(64)->Arg(4096)->Arg(1050 * 800 * 4);
BENCHMARK_TEMPLATE(same_size, System)->Arg(64)->Arg(4096)->Arg(1050 * 800 * 4);
BENCHMARK_TEMPLATE(lifo_classes, Tracked);
BENCHMARK_TEMPLATE(lifo_classes, System);
BENCHMARK_TEMPLATE(random_classes, Tracked);
BENCHMARK_TEMPLATE(random_classes, System);

// Prints as usual, and keeps each run's time per pair so that the two
// allocators can be compared pattern by pattern at the end.
class ratio_reporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            auto counter = run.counters.find("per_pair");
            if (counter == run.counters.end() || run.error_occurred)
                continue;
            // With --benchmark_repetitions only the medians are compared.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            std::string name = run.benchmark_name();  // e.g. lifo_classes<Tracked>/64
            size_t open = name.find('<');
            size_t close = name.find('>');
            if (open == std::string::npos || close == std::string::npos)
                continue;
            std::string pattern = name.substr(0, open) + name.substr(close + 1);
            std::string allocator = name.substr(open + 1, close - open - 1);
            per_pair_ns[pattern][allocator] = counter->second.value * 1e9;
        }
    }

    void print_ratios() const
    {
        std::printf("\n%-32s %12s %12s %8s\n", "pattern", "vollo ns", "malloc ns", "ratio");
        for (const auto &[pattern, times] : per_pair_ns) {
            auto tracked = times.find("Tracked");
            auto system = times.find("System");
            if (tracked == times.end() || system == times.end())
                continue;
            std::printf("%-32s %12.1f %12.1f %8.2f\n", pattern.c_str(), tracked->second, system->second,
                        tracked->second / system->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> per_pair_ns;
};
}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratios();
    benchmark::Shutdown();
    return 0;
}
