// Volume, pitch, looping, playing and stopping, read back from the SFML players,
// for both kinds of sound.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/sound.hpp"
#include "audio_support.hpp"

using namespace audio_test;

namespace
{
enum class Kind { Effect, Music };

class ControlTest : public testing::TestWithParam<Kind>
{
protected:
    void SetUp() override
    {
        // A music is streamed from OGG, an effect decoded from WAV.
        const std::string path = dir_.path(GetParam() == Kind::Effect ? "short.wav" : "short.ogg");
        ASSERT_TRUE(write_tone(path, 0.3, 8000));
        sound_ = GetParam() == Kind::Effect ? vollo_load_effect(path.c_str())
                                            : vollo_load_music(path.c_str());
        ASSERT_NE(sound_, nullptr);
    }
    void TearDown() override { vollo_delete_sound(sound_); }

    TempDir dir_;
    vollo_sound *sound_ = nullptr;
};

TEST_P(ControlTest, VolumeIsClampedToZeroToHundred)
{
    const struct
    {
        double given;
        float set;
    } cases[] = {{-5, 0}, {37.5, 37.5f}, {250, 100}, {0, 0}, {100, 100}, {-1e300, 0}, {1e300, 100},
                 {-INFINITY, 0}, {INFINITY, 100}, {99.75, 99.75f}};
    for (const auto &c : cases)
    {
        vollo_sound_volume(sound_, c.given);
        EXPECT_NEAR(source(sound_).getVolume(), c.set, 1e-4) << "volume " << c.given;
    }
}

TEST_P(ControlTest, NotANumberLeavesVolumeAndPitchAsTheyWere)
{
    vollo_sound_volume(sound_, 42);
    vollo_sound_pitch(sound_, 2.5);
    vollo_sound_volume(sound_, NAN);
    vollo_sound_pitch(sound_, NAN);
    EXPECT_NEAR(source(sound_).getVolume(), 42, 1e-4);
    EXPECT_FLOAT_EQ(source(sound_).getPitch(), 2.5f);
}

TEST_P(ControlTest, PitchBelowZeroBecomesZeroWithNoUpperLimit)
{
    const struct
    {
        double given;
        float set;
    } cases[] = {{-1, 0}, {4, 4}, {1, 1}, {0, 0}, {0.5, 0.5f}, {-0.001, 0}, {300, 300}};
    for (const auto &c : cases)
    {
        vollo_sound_pitch(sound_, c.given);
        EXPECT_FLOAT_EQ(source(sound_).getPitch(), c.set) << "pitch " << c.given;
    }
}

TEST_P(ControlTest, LoopFlagReachesThePlayer)
{
    EXPECT_FALSE(looping(sound_));
    vollo_sound_loop(sound_, true);
    EXPECT_TRUE(looping(sound_));
    vollo_sound_loop(sound_, false);
    EXPECT_FALSE(looping(sound_));
}

TEST_P(ControlTest, PlayRunsToTheEndUnlessLooping)
{
    EXPECT_EQ(status(sound_), sf::SoundSource::Stopped);
    vollo_sound_play(sound_);
    EXPECT_EQ(status(sound_), sf::SoundSource::Playing);
    EXPECT_TRUE(wait_until([&] { return status(sound_) == sf::SoundSource::Stopped; }))
        << "a 0.3 s sound still plays after 5 s";
}

TEST_P(ControlTest, LoopingSoundStartsAgainAtTheEnd)
{
    vollo_sound_loop(sound_, true);
    vollo_sound_play(sound_);
    ASSERT_TRUE(wait_until([&] { return offset(sound_) > sf::milliseconds(150); }));
    // Past the end of the 0.3 s sound the offset comes back to its start.
    EXPECT_TRUE(wait_until([&] { return offset(sound_) < sf::milliseconds(100); }));
    EXPECT_EQ(status(sound_), sf::SoundSource::Playing);
}

TEST_P(ControlTest, StopEndsPlayingAndRewinds)
{
    vollo_sound_loop(sound_, true);
    vollo_sound_play(sound_);
    ASSERT_TRUE(wait_until([&] { return offset(sound_) > sf::milliseconds(50); }));
    vollo_sound_stop(sound_);
    EXPECT_EQ(status(sound_), sf::SoundSource::Stopped);
    EXPECT_EQ(offset(sound_), sf::Time::Zero);
    // Playing again starts over from the beginning.
    vollo_sound_play(sound_);
    EXPECT_EQ(status(sound_), sf::SoundSource::Playing);
    EXPECT_LT(offset(sound_), sf::milliseconds(50));
}

TEST_P(ControlTest, PlayingIsTrueFromPlayUntilTheEndOrAStop)
{
    EXPECT_FALSE(vollo_sound_playing(sound_));
    vollo_sound_play(sound_);
    EXPECT_TRUE(vollo_sound_playing(sound_));
    EXPECT_TRUE(wait_until([&] { return !vollo_sound_playing(sound_); })) << "a 0.3 s sound still plays";
    vollo_sound_loop(sound_, true);
    vollo_sound_play_voice(sound_);  // a quiet sound: its first voice, or the music itself
    EXPECT_TRUE(vollo_sound_playing(sound_));
    vollo_sound_stop(sound_);
    EXPECT_FALSE(vollo_sound_playing(sound_));
}

TEST_P(ControlTest, PauseResumeAndSeekMoveThePlayingPosition)
{
    const std::string path = dir_.path(GetParam() == Kind::Effect ? "long.wav" : "long.ogg");
    ASSERT_TRUE(write_tone(path, 8, 8000));
    vollo_sound *sound = GetParam() == Kind::Effect ? vollo_load_effect(path.c_str()) : vollo_load_music(path.c_str());
    ASSERT_NE(sound, nullptr);
    EXPECT_NEAR(vollo_sound_length(sound), 8, 0.001);
    using S = sf::SoundSource::Status;
    const auto seek = [&](double to) { return std::function<void()>([&, to] { vollo_sound_seek(sound, to); }); };
    const std::function<void()> play = [&] { vollo_sound_play(sound); }, pause = [&] { vollo_sound_pause(sound); },
                                resume = [&] { vollo_sound_resume(sound); };
    const struct { const char *what; std::function<void()> act; S status; double low, high; } steps[] = {
        {"a stopped sound is not moved", seek(3), S::Stopped, 0, 0},
        {"a stopped sound does not resume", resume, S::Stopped, 0, 0},
        {"playing", play, S::Playing, 0, 0.5},
        {"moved while playing", seek(4), S::Playing, 3.99, 4.5},
        {"paused where it was", pause, S::Paused, 3.99, 4.5},
        {"moved while paused", seek(2), S::Paused, 1.99, 2.05},
        {"before the start is the start", seek(-5), S::Paused, 0, 0.05},
        {"going on", resume, S::Playing, 0, 0.5},
        {"past the end it stops", seek(1e300), S::Stopped, 0, 0},
        {"looping", [&] { vollo_sound_loop(sound, true), play(); }, S::Playing, 0, 0.5},
        {"past the end a looping sound starts over", seek(INFINITY), S::Playing, 0, 0.5},
        {"NaN changes nothing", seek(NAN), S::Playing, 0, 0.6},
    };
    for (const auto &s : steps)
    {
        s.act();
        EXPECT_EQ(status(sound), s.status) << s.what;
        const double at = vollo_sound_offset(sound);
        EXPECT_TRUE(at >= s.low && at <= s.high) << s.what << ": offset " << at;
        EXPECT_FALSE(s.status == S::Paused && wait_until([&] { return vollo_sound_offset(sound) > at + 0.05; },
                                                           std::chrono::milliseconds(300)))
            << s.what << ": the paused sound moves on";
    }
    vollo_delete_sound(sound);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ControlTest, testing::Values(Kind::Effect, Kind::Music),
                         [](const testing::TestParamInfo<Kind> &info) {
                             return info.param == Kind::Effect ? "Effect" : "Music";
                         });

// Every operation accepts a null sound and does nothing with it.
TEST(NullSound, IsIgnoredByEveryOperation)
{
    vollo_sound_play(nullptr);
    vollo_sound_stop(nullptr);
    vollo_sound_loop(nullptr, true);
    vollo_sound_volume(nullptr, 50);
    vollo_sound_pitch(nullptr, 2);
    vollo_delete_sound(nullptr);
    vollo_sound_pause(nullptr);
    vollo_sound_resume(nullptr);
    vollo_sound_seek(nullptr, 1);
    vollo_clear_error();
    EXPECT_EQ(vollo_sound_length(nullptr) + vollo_sound_offset(nullptr), 0);
    EXPECT_NE(std::string(vollo_error()), "");
}
// The players of an effect that are sounding now.
int sounding_voices(vollo_sound *sound)
{
    vollo_effect *effect = static_cast<vollo_effect *>(sound);
    int count = effect->player.getStatus() == sf::SoundSource::Playing;
    for (const std::unique_ptr<sf::Sound> &voice : effect->voices)
        count += voice && voice->getStatus() == sf::SoundSource::Playing;
    return count;
}

TEST(Voices, AnEffectSoundsOverItselfUpToEightTimes)
{
    TempDir dir;
    const std::string path = dir.path("long.wav");
    ASSERT_TRUE(write_tone(path, 20, 8000));  // outlasts the test on any machine
    vollo_sound *effect = vollo_load_effect(path.c_str());
    ASSERT_NE(effect, nullptr);
    vollo_sound_volume(effect, 40);
    vollo_sound_pitch(effect, 1.5);

    for (int voices = 1; voices <= 8; ++voices)
    {
        vollo_sound_play_voice(effect);
        EXPECT_EQ(sounding_voices(effect), voices);
    }
    for (const std::unique_ptr<sf::Sound> &voice : static_cast<vollo_effect *>(effect)->voices)
    {
        ASSERT_TRUE(voice);
        EXPECT_NEAR(voice->getVolume(), 40, 1e-4);
        EXPECT_FLOAT_EQ(voice->getPitch(), 1.5f);
    }

    // A ninth takes over the voice that has played longest: the first one.
    vollo_effect *record = static_cast<vollo_effect *>(effect);
    ASSERT_TRUE(wait_until([&] { return record->player.getPlayingOffset() > sf::milliseconds(300); }));
    const sf::Time last_voice_before = record->voices[6]->getPlayingOffset();
    vollo_sound_play_voice(effect);
    EXPECT_EQ(sounding_voices(effect), 8);
    EXPECT_LT(record->player.getPlayingOffset(), last_voice_before + sf::milliseconds(1))
        << "the oldest voice was not started again";

    // Plain play restarts the first voice and leaves the others sounding.
    vollo_sound_play(effect);
    EXPECT_EQ(sounding_voices(effect), 8);

    // Settings reach every voice; stop silences them all.
    vollo_sound_volume(effect, 10);
    vollo_sound_loop(effect, true);
    for (const std::unique_ptr<sf::Sound> &voice : record->voices)
    {
        EXPECT_NEAR(voice->getVolume(), 10, 1e-4);
        EXPECT_TRUE(voice->getLoop());
    }
    vollo_sound_stop(effect);
    EXPECT_EQ(sounding_voices(effect), 0);
    EXPECT_FALSE(vollo_sound_playing(effect));

    // Quiet voices are used again rather than new ones made.
    vollo_sound_play_voice(effect);
    vollo_sound_play_voice(effect);
    EXPECT_EQ(sounding_voices(effect), 2);
    vollo_delete_sound(effect);  // with its voices still sounding
    vollo_sound_play_voice(nullptr);
    EXPECT_FALSE(vollo_sound_playing(nullptr));
}

}  // namespace
