// Timing of vollo_loop without a window: pacing, bursts of late frames, results.
// Bounds are tolerant: the machine is shared, but frames are never skipped, so
// counts over a stretch of time stay close to the rate even under load.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "vollo.h"

namespace
{

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

struct Frames
{
    Clock::time_point start;
    microseconds run_for{0};           // end the loop once this much time has passed
    vollo_response stop_with = 42;
    size_t stop_at_frame = SIZE_MAX;   // or at this frame
    milliseconds first_frame_work{0};  // time the first frame takes
    bool keep_times = true;
    size_t count = 0;
    std::vector<microseconds> at;      // time of each frame since start
    std::vector<double> frame_times;   // vollo_get_frame_time() in each frame
    std::vector<double> clock_times;   // vollo_get_time() in each frame
};

vollo_response frame(void *data)
{
    Frames &frames = *static_cast<Frames *>(data);
    const auto now = Clock::now();
    ++frames.count;
    if (frames.keep_times)
    {
        frames.at.push_back(std::chrono::duration_cast<microseconds>(now - frames.start));
        frames.frame_times.push_back(vollo_get_frame_time());
        frames.clock_times.push_back(vollo_get_time());
    }
    if (frames.count == 1 && frames.first_frame_work.count())
        std::this_thread::sleep_for(frames.first_frame_work);
    if (frames.count >= frames.stop_at_frame || now - frames.start >= frames.run_for)
        return frames.stop_with;
    return VOLLO_CONTINUE;
}

double thread_cpu_seconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

class Loop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gl_callback = vollo_context();
        vollo_set_loop_main_function(frame);
    }
    void TearDown() override
    {
        gl_callback = vollo_context();
    }
    vollo_response run(Frames &frames, uint8_t frequency)
    {
        frames.at.reserve(4096);
        frames.frame_times.reserve(4096);
        frames.clock_times.reserve(4096);
        frames.start = Clock::now();
        return vollo_loop(nullptr, frequency, &frames);
    }
};

TEST_F(Loop, HundredHertzGivesAHundredFramesASecondAndSleepsBetween)
{
    Frames frames;
    frames.run_for = std::chrono::seconds(1);
    const double cpu_before = thread_cpu_seconds();
    EXPECT_EQ(run(frames, 100), 42);
    const double cpu_used = thread_cpu_seconds() - cpu_before;

    EXPECT_GE(frames.count, 95u);
    EXPECT_LE(frames.count, 105u);
    ASSERT_FALSE(frames.at.empty());
    EXPECT_GT(frames.at[0].count(), 10000) << "the first frame waits for a whole period";
    EXPECT_LT(cpu_used, 0.2) << "the loop must sleep between frames, not spin";
    RecordProperty("frames_in_one_second", static_cast<int>(frames.count));
}

// Frame times add up to the time between the first and the last frame, whatever the
// load, because no frame is skipped; each is the gap to the previous frame's start.
TEST_F(Loop, FrameTimeTimeAndFpsFollowAHundredHertzLoop)
{
    Frames frames;
    frames.run_for = milliseconds(1500);
    const double time_before = vollo_get_time();
    EXPECT_EQ(run(frames, 100), 42);
    const size_t count = frames.frame_times.size();
    ASSERT_GE(count, 100u);

    double sum = 0;
    for (size_t index = 1; index < count; ++index)
    {
        sum += frames.frame_times[index];
        EXPECT_GE(frames.frame_times[index], 0.0);
        EXPECT_GE(frames.clock_times[index], frames.clock_times[index - 1]) << "time went back";
    }
    const double span = (frames.at.back() - frames.at.front()).count() / 1e6;
    EXPECT_NEAR(sum, span, 0.01) << "frame times must add up to the real time between frames";
    EXPECT_NEAR(sum / (count - 1), 0.010, 0.003);
    EXPECT_GT(frames.frame_times.front(), 0.0099) << "the first frame comes a period after the loop began";
    EXPECT_LT(frames.frame_times.front(), 0.5);

    EXPECT_GE(vollo_get_fps(), 70.0);
    EXPECT_LE(vollo_get_fps(), 130.0);
    EXPECT_GE(vollo_get_time() - time_before, 1.5);
    EXPECT_NEAR(frames.clock_times.back() - frames.clock_times.front(), span, 0.005);
}

TEST_F(Loop, FrequencyZeroRunsFramesBackToBack)
{
    Frames frames;
    frames.run_for = milliseconds(50);
    frames.keep_times = false;
    EXPECT_EQ(run(frames, 0), 42);
    // Paced at even the highest rate, 255, there would be about 12 frames.
    EXPECT_GT(frames.count, 1000u);
}

TEST_F(Loop, LateFramesRunInABurstAndAreNeverSkipped)
{
    Frames frames;
    frames.run_for = milliseconds(300);
    frames.first_frame_work = milliseconds(45);
    EXPECT_EQ(run(frames, 100), 42);
    // Four to five periods were lost in the first frame; they are caught up, so
    // the count over the whole stretch still matches the rate.
    EXPECT_GE(frames.count, 27u);
    EXPECT_LE(frames.count, 31u);
    ASSERT_GE(frames.at.size(), 5u);
    EXPECT_LT((frames.at[4] - frames.at[1]).count(), 8000)
        << "frames 2 to 5 are late and must follow each other without sleeping";
}

TEST_F(Loop, AResultOtherThanContinueEndsTheLoopAfterThatFrame)
{
    for (vollo_response result : {7, 0, 1, 2, 4, -5})
    {
        Frames frames;
        frames.run_for = std::chrono::seconds(10);
        frames.stop_at_frame = 3;
        frames.stop_with = result;
        EXPECT_EQ(run(frames, 255), result);
        EXPECT_EQ(frames.count, 3u);
    }
}

// User and system CPU time of a process, in clock ticks.
long cpu_ticks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int index = 3; fields >> field; ++index)
    {
        if (index == 14)
            user = std::stol(field);
        if (index == 15)
        {
            system = std::stol(field);
            break;
        }
    }
    return user + system;
}

TEST_F(Loop, WithNeitherWindowNorMainFunctionItNeverReturnsAndSleeps)
{
    gl_callback = vollo_context();
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        vollo_loop(nullptr, 100, nullptr);
        _exit(3);  // never reached when the loop behaves
    }
    const long ticks_before = cpu_ticks(child);
    const auto start = Clock::now();
    bool ended = false;
    while (Clock::now() - start < milliseconds(400) && !ended)
    {
        ended = waitpid(child, nullptr, WNOHANG) == child;
        std::this_thread::sleep_for(milliseconds(10));
    }
    const long ticks_used = cpu_ticks(child) - ticks_before;
    kill(child, SIGKILL);
    if (!ended)
        waitpid(child, nullptr, 0);
    EXPECT_FALSE(ended);
    EXPECT_LT(ticks_used, sysconf(_SC_CLK_TCK) / 10) << "idle loop used CPU time";
}

}  // namespace
