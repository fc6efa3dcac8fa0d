// vollo_loop across the wrap of its 32-bit microsecond count (about 71.6 minutes
// after it starts). This program shifts the monotonic clock that SFML's sf::Clock
// reads by defining clock_gettime itself, so the loop's clock can be pushed to
// just before the wrap instead of waiting over an hour.
#include <dlfcn.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "vollo.h"

namespace
{

std::atomic<int64_t> monotonic_shift_ns{0};

int64_t unshifted_ns()
{
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);  // left alone by the shift below
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

// Takes precedence over the C library's for every caller in this process.
extern "C" int clock_gettime(clockid_t clock, timespec *time)
{
    using Function = int (*)(clockid_t, timespec *);
    static const Function real = reinterpret_cast<Function>(dlsym(RTLD_NEXT, "clock_gettime"));
    const int result = real(clock, time);
    if (result == 0 && clock == CLOCK_MONOTONIC)
    {
        const int64_t ns = int64_t(time->tv_sec) * 1000000000 + time->tv_nsec + monotonic_shift_ns.load();
        time->tv_sec = ns / 1000000000;
        time->tv_nsec = ns % 1000000000;
    }
    return result;
}

namespace
{

const int64_t wrap_us = int64_t(1) << 32;

struct Frames
{
    int64_t jumped_at_ns = 0;  // unshifted time of the jump
    long count = 0;
    std::vector<int64_t> late;  // unshifted times of the frames from 150 ms after the jump
};

vollo_response frame(void *data)
{
    Frames &frames = *static_cast<Frames *>(data);
    ++frames.count;
    const int64_t now = unshifted_ns();
    if (frames.count == 1)
    {
        // The loop's clock jumps to 100 ms before its 32-bit count wraps.
        frames.jumped_at_ns = now;
        monotonic_shift_ns = (wrap_us - 100000) * 1000;
        return VOLLO_CONTINUE;
    }
    if (now - frames.jumped_at_ns >= 150000000)
        frames.late.push_back(now);
    return now - frames.jumped_at_ns >= 600000000 ? 42 : VOLLO_CONTINUE;
}

TEST(LoopWrap, PacingGoesOnAcrossTheWrapOfTheMicrosecondCount)
{
    vollo_set_loop_main_function(frame);
    Frames frames;
    frames.late.reserve(1000);
    ASSERT_EQ(vollo_loop(nullptr, 100, &frames), 42);
    monotonic_shift_ns = 0;

    // Every period of the 71.6 minutes jumped over is caught up, none skipped:
    // about (2^32 us - 100 ms + 600 ms) / 10 ms frames in all.
    const long expected = long((wrap_us - 100000 + 600000) / 10000);
    EXPECT_GE(frames.count, expected - 8);
    EXPECT_LE(frames.count, expected + 3);

    // The wrap falls about 100 ms after the jump. From 150 ms on, well past it
    // and past the catching up, frames come every 10 ms: no stall, no new burst.
    ASSERT_GE(frames.late.size(), 2u);
    const double span_ms = (frames.late.back() - frames.late.front()) / 1e6;
    EXPECT_GT(span_ms, 400.0);
    EXPECT_NEAR(double(frames.late.size() - 1), span_ms / 10.0, 4.0);
    for (size_t i = 1; i < frames.late.size(); ++i)
        EXPECT_LT(frames.late[i] - frames.late[i - 1], 60000000) << "stalled before late frame " << i;
}

}  // namespace
