// The price of the live-record registry: pixel arrays made and deleted with VOLLO_DEBUG
// unset (the registry only looks at a flag) and set (every record is noted and
// forgotten), against the tracked allocator's own block of the same size, in one run.
// The tracked figure comes from this program run again with VOLLO_DEBUG=1.
#include <SFML/Graphics.hpp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_timing.hpp"
#include "vollo.h"
#include "xvfb.hpp"

namespace
{

const int pairs = 2000;
const uint32_t side = 16;

// Milliseconds for `pairs` pixel arrays made and deleted.
double arrays_ms()
{
    return median_ms(15, [] {
        for (int i = 0; i < pairs; ++i)
            vollo_delete_clipable(vollo_new_pixelarray(side, side));
    });
}

double blocks_ms()
{
    return median_ms(15, [] {
        for (int i = 0; i < pairs; ++i)
        {
            void *block = vollo_malloc(side * side * 4);
            std::memset(block, 0xFF, side * side * 4);
            vollo_free(block);
        }
    });
}

}  // namespace

int main(int, char **argv)
{
    if (getenv("DISPLAY") == nullptr && vollo_test::start_xvfb().empty())
        return 1;
    sf::Context context;
    const char *debug = getenv("VOLLO_DEBUG");
    if (debug && std::strcmp(debug, "1") == 0)
    {
        std::printf("%.6f\n", arrays_ms());
        std::exit(0);  // the records were all deleted: the exit listing is empty
    }
    const double untracked = arrays_ms();
    const double blocks = blocks_ms();
    const std::string command = std::string("VOLLO_DEBUG=1 ") + argv[0];
    double tracked = 0;
    FILE *child = popen(command.c_str(), "r");
    if (!child || std::fscanf(child, "%lf", &tracked) != 1)
        return 1;
    pclose(child);
    std::printf("records: %d pixel arrays of %u x %u made and deleted\n", pairs, side, side);
    std::printf("  VOLLO_DEBUG unset  %8.3f ms  (%.2f x the allocator's bare blocks, %.3f ms)\n", untracked,
                untracked / blocks, blocks);
    std::printf("  VOLLO_DEBUG=1      %8.3f ms  (%.2f x unset)\n", tracked, tracked / untracked);
    return 0;
}
