// Test main: before any SFML audio object exists, point OpenAL at a configuration
// of our own that replaces the sound card with its wave driver, so the tests run
// on machines without audio devices and can hear what was played.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "audio_support.hpp"

namespace
{
std::string g_process_dir;
}

const std::string &audio_test::process_dir() { return g_process_dir; }

std::string audio_test::wave_output_path() { return g_process_dir + "/played.wav"; }

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    char pattern[] = "/tmp/vollo-audio-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
    {
        perror("mkdtemp");
        return 2;
    }
    g_process_dir = pattern;
    const std::string config = g_process_dir + "/alsoft.conf";
    {
        std::ofstream out(config);
        out << "[general]\n"
            << "drivers=wave\n"
            << "channels=mono\n"
            << "sample-type=int16\n"
            << "frequency=" << audio_test::kSampleRate << "\n"
            << "[wave]\n"
            << "file=" << audio_test::wave_output_path() << "\n";
        if (!out.flush())
        {
            fprintf(stderr, "cannot write %s\n", config.c_str());
            return 2;
        }
    }
    setenv("ALSOFT_CONF", config.c_str(), 1);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(g_process_dir, ignored);
    return result;
}
