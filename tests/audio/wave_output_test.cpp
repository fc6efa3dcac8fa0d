// What is played really comes out: OpenAL's wave driver writes the mix into a WAV
// file (see the test main), which is read back once the audio device has closed.
#include <gtest/gtest.h>

#include "audio_support.hpp"

using namespace audio_test;

namespace
{
// Plays `sound` to its end, deletes it (the last sound: the device closes and the
// wave driver completes its file) and returns the samples written.
std::vector<int16_t> play_to_end(vollo_sound *sound)
{
    vollo_sound_play(sound);
    EXPECT_TRUE(wait_until([&] { return status(sound) == sf::SoundSource::Stopped; }));
    vollo_delete_sound(sound);
    std::vector<int16_t> samples;
    // The driver mixes in real time: at least the sound's length must be there.
    EXPECT_TRUE(wait_until([&] {
        samples = read_wave_samples(wave_output_path());
        return samples.size() >= kSampleRate / 4;
    })) << "only " << samples.size() << " samples in " << wave_output_path();
    return samples;
}

// Number of samples louder than `level`.
size_t count_above(const std::vector<int16_t> &samples, int level)
{
    size_t count = 0;
    for (int16_t sample : samples)
        count += std::abs(static_cast<int>(sample)) > level;
    return count;
}

TEST(WaveOutput, PlayedEffectIsHeard)
{
    TempDir dir;
    const std::string path = dir.path("beep.wav");
    ASSERT_TRUE(write_tone(path, 0.3, 12000));
    vollo_sound *effect = vollo_load_effect(path.c_str());
    ASSERT_NE(effect, nullptr);
    const std::vector<int16_t> samples = play_to_end(effect);
    EXPECT_GT(peak(samples), 6000);
    // A 440 Hz sine spends most of its 0.3 s well away from zero.
    EXPECT_GT(count_above(samples, 3000), kSampleRate / 10);
}

TEST(WaveOutput, StreamedMusicIsHeard)
{
    TempDir dir;
    const std::string path = dir.path("tune.ogg");
    ASSERT_TRUE(write_tone(path, 0.4, 12000));
    vollo_sound *music = vollo_load_music(path.c_str());
    ASSERT_NE(music, nullptr);
    const std::vector<int16_t> samples = play_to_end(music);
    EXPECT_GT(peak(samples), 6000);
    EXPECT_GT(count_above(samples, 3000), kSampleRate / 10);
}

TEST(WaveOutput, VolumeScalesWhatIsHeard)
{
    TempDir dir;
    const std::string path = dir.path("beep.wav");
    ASSERT_TRUE(write_tone(path, 0.3, 12000));

    vollo_sound *muted = vollo_load_effect(path.c_str());
    ASSERT_NE(muted, nullptr);
    vollo_sound_volume(muted, -5);  // clamped to 0: silence
    EXPECT_LE(peak(play_to_end(muted)), 2);  // dither at most

    vollo_sound *quiet = vollo_load_effect(path.c_str());
    ASSERT_NE(quiet, nullptr);
    vollo_sound_volume(quiet, 25);
    const int quiet_peak = peak(play_to_end(quiet));
    EXPECT_GT(quiet_peak, 1500);
    EXPECT_LT(quiet_peak, 4500);
}

TEST(WaveOutput, StoppedEffectFallsSilent)
{
    TempDir dir;
    const std::string path = dir.path("long.wav");
    ASSERT_TRUE(write_tone(path, 5.0, 12000));
    vollo_sound *effect = vollo_load_effect(path.c_str());
    ASSERT_NE(effect, nullptr);
    vollo_sound_play(effect);
    ASSERT_TRUE(wait_until([&] { return offset(effect) > sf::milliseconds(50); }));
    vollo_sound_stop(effect);
    // The device goes on mixing (silence) while the stopped effect exists: let it
    // write another 0.4 s before closing it.
    const size_t at_stop = read_wave_samples(wave_output_path()).size();
    EXPECT_TRUE(wait_until([&] {
        return read_wave_samples(wave_output_path()).size() > at_stop + kSampleRate * 2 / 5;
    }));
    vollo_delete_sound(effect);
    std::vector<int16_t> samples;
    ASSERT_TRUE(wait_until([&] {
        samples = read_wave_samples(wave_output_path());
        return samples.size() > at_stop + kSampleRate * 2 / 5;
    }));
    EXPECT_GT(peak(samples), 6000) << "the start was played";
    // Of 5 s of sound, well under 1 s was written before the stop.
    EXPECT_LT(count_above(samples, 3000), kSampleRate);
}
}  // namespace
