// Both loaders on real files made by the test: the formats SFML reads, and files
// that are missing, not audio, or audio that cannot be played.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include "audio_support.hpp"
#include "xvfb.hpp"

using namespace audio_test;

namespace
{
struct FileCase
{
    const char *name;                                    // file name, also the case name
    std::function<bool(const std::string &path)> make;  // null: the path stays missing
    bool effect_loads;
    bool music_opens;
};

void PrintTo(const FileCase &c, std::ostream *out) { *out << c.name; }

bool tone(const std::string &path) { return write_tone(path, 0.25, 8000); }

bool bytes(const std::string &path, const std::string &content) { return write_bytes(path, content); }

const FileCase kCases[] = {
    {"tone.wav", tone, true, true},
    {"tone.ogg", tone, true, true},
    {"tone.flac", tone, true, true},
    {"missing.wav", nullptr, false, false},
    {"text.wav", [](const std::string &p) { return bytes(p, "not a sound at all\n"); }, false, false},
    {"text.ogg", [](const std::string &p) { return bytes(p, "OggS but nothing after it"); }, false, false},
    {"empty.wav", [](const std::string &p) { return bytes(p, ""); }, false, false},
    // SFML would wait forever on these: refused before it sees them.
    {"folder.wav", [](const std::string &p) { return mkdir(p.c_str(), 0700) == 0; }, false, false},
    {"pipe.ogg", [](const std::string &p) { return mkfifo(p.c_str(), 0600) == 0; }, false, false},
    // Headers that describe sound nobody can play: refused by both loaders.
    {"zero_bits.wav", [](const std::string &p) { return bytes(p, wav_header(1, kSampleRate, 0, 64, 64)); },
     false, false},
    {"zero_channels.wav",
     [](const std::string &p) { return bytes(p, wav_header(0, kSampleRate, 16, 64, 64)); }, false, false},
    {"three_channels.wav",
     [](const std::string &p) { return bytes(p, wav_header(3, kSampleRate, 16, 60, 60)); }, false, false},
    {"nine_channels.wav",
     [](const std::string &p) { return bytes(p, wav_header(9, kSampleRate, 16, 72, 72)); }, false, false},
    {"zero_rate.wav", [](const std::string &p) { return bytes(p, wav_header(1, 0, 16, 64, 64)); }, false,
     false},
    // Data chunk claims 4 GiB but holds 100 bytes: an effect must decode it all and
    // fails; a music only reads the header and would stream what is there.
    {"truncated.wav",
     [](const std::string &p) { return bytes(p, wav_header(1, kSampleRate, 16, 0xFFFFFFF0u, 100)); },
     false, true},
};

class LoaderTest : public testing::TestWithParam<FileCase>
{
protected:
    TempDir dir_;
};

TEST_P(LoaderTest, LoadsExactlyThePlayableFiles)
{
    const FileCase &c = GetParam();
    const std::string path = dir_.path(c.name);
    if (c.make)
    {
        ASSERT_TRUE(c.make(path)) << "could not make " << path;
    }

    vollo_sound *effect = vollo_load_effect(path.c_str());
    vollo_sound *music = vollo_load_music(path.c_str());
    EXPECT_EQ(effect != nullptr, c.effect_loads);
    EXPECT_EQ(music != nullptr, c.music_opens);
    if (effect != nullptr)
    {
        EXPECT_EQ(effect->type, 1);
    }
    if (music != nullptr)
    {
        EXPECT_EQ(music->type, 0);
    }
    vollo_delete_sound(effect);
    vollo_delete_sound(music);
}

std::string case_name(const testing::TestParamInfo<FileCase> &info)
{
    std::string name = info.param.name;
    for (char &c : name)
        if (c == '.')
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, LoaderTest, testing::ValuesIn(kCases), case_name);

// The loaded sound holds the whole file: same length as written, whatever the format.
TEST(Loaders, KeepTheLengthOfTheFile)
{
    TempDir dir;
    for (const char *name : {"long.wav", "long.ogg"})
    {
        const std::string path = dir.path(name);
        ASSERT_TRUE(write_tone(path, 0.75, 8000));
        for (auto loader : {&vollo_load_effect, &vollo_load_music})
        {
            vollo_sound *sound = loader(path.c_str());
            ASSERT_NE(sound, nullptr) << name;
            EXPECT_NEAR(duration(sound).asSeconds(), 0.75, 0.01) << name;
            vollo_delete_sound(sound);
        }
    }
}

long peak_memory_kib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A 144-byte file whose header claims 4 GiB of samples must not make the effect
// loader reserve (and fill) room for all of them before finding out.
TEST(Loaders, HeaderClaimingGigabytesCostsLittleMemory)
{
    TempDir dir;
    const std::string path = dir.path("claims_4_gib.wav");
    ASSERT_TRUE(write_bytes(path, wav_header(1, kSampleRate, 16, 0xFFFFFFF0u, 100)));
    const long before = peak_memory_kib();
    EXPECT_EQ(vollo_load_effect(path.c_str()), nullptr);
    EXPECT_LT(peak_memory_kib() - before, 64 * 1024) << "KiB more at the high-water mark";
}

TEST(Loaders, NullPathGivesNull)
{
    EXPECT_EQ(vollo_load_effect(nullptr), nullptr);
    EXPECT_EQ(vollo_load_music(nullptr), nullptr);
}

// A failed load prints nothing: the null result is the whole report.
TEST(Loaders, FailureIsSilent)
{
    TempDir dir;
    const std::string path = dir.path("text.wav");
    ASSERT_TRUE(write_bytes(path, "plain text"));
    testing::internal::CaptureStderr();
    vollo_sound *effect = vollo_load_effect(path.c_str());
    vollo_sound *music = vollo_load_music(dir.path("missing.ogg").c_str());
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(music, nullptr);
    EXPECT_EQ(printed.find("Failed"), std::string::npos) << printed;
}

// SFML's error stream works again after a failed load.
TEST(Loaders, LeaveSfmlErrorStreamUsable)
{
    vollo_load_effect("/nonexistent/vollo/sound.wav");
    EXPECT_NE(sf::err().rdbuf(), nullptr);
    EXPECT_TRUE(sf::err().good());
}
}  // namespace

// Where OpenAL finds no device (an ALSA device that does not exist), sounds still
// load, with their length and offset from the data; vollo says so once, on request, and the
// driver's own complaints stay off standard error.
TEST(Loaders, WithoutAnAudioDeviceSoundsLoadAndVolloSaysSoOnce)
{
    TempDir dir;
    const std::string config = dir.path("alsoft.conf"), effect = dir.path("tone.wav"), music = dir.path("tone.ogg");
    ASSERT_TRUE(write_bytes(config, "[general]\ndrivers=alsa\n[alsa]\ndevice=vollo-no-such-device\n"));
    ASSERT_TRUE(write_tone(effect, 0.25, 8000) && write_tone(music, 0.5, 8000));
    const std::string said = "no audio device: sounds play silently";
    for (const bool debug : {false, true})
    {
        SCOPED_TRACE(debug ? "VOLLO_DEBUG=1" : "quiet");
        const vollo_test::CommandResult run = vollo_test::run_command(
            {"env", "ALSOFT_CONF=" + config, std::string("VOLLO_DEBUG=") + (debug ? "1" : "0"), NO_DEVICE_PROBE,
             effect, music});
        ASSERT_TRUE(run.succeeded()) << run.describe();
        EXPECT_EQ(run.output, "effect loaded=1 error='" + said + "' length=0.250 offset=0.100\n"
                              "music loaded=1 error='' length=0.500 offset=0.100\n");
        EXPECT_EQ(run.errors, debug ? "vollo: " + said + "\n" : "");
    }
}
