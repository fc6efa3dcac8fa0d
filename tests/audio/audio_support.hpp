// Shared by the sound tests: sound files made on the spot, the WAV file that
// OpenAL writes instead of playing, and waiting with a deadline.
#ifndef VOLLO_TESTS_AUDIO_SUPPORT_HPP
#define VOLLO_TESTS_AUDIO_SUPPORT_HPP

#include <SFML/Audio.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vollo.h"

namespace audio_test
{
constexpr unsigned kSampleRate = 44100;

// Folder of this test process, made by the test main before any sound is touched.
const std::string &process_dir();
// The WAV file OpenAL's wave driver writes everything played into. It is
// rewritten each time the audio device opens, i.e. when the first sound of a
// session is created after all earlier ones were deleted.
std::string wave_output_path();

// Writes `seconds` of a 440 Hz sine of peak `amplitude` (16-bit scale), mono, in the
// format chosen by the file's extension (.wav, .ogg, .flac). False on failure.
bool write_tone(const std::string &path, double seconds, int16_t amplitude);
// Writes raw bytes. False on failure.
bool write_bytes(const std::string &path, const std::string &bytes);
// A 16-bit PCM WAV header with chosen fields, followed by `payload` bytes of data.
std::string wav_header(uint16_t channels, uint32_t sample_rate, uint16_t bits,
                       uint32_t declared_data_size, uint32_t payload);

// The 16-bit samples of a WAV file's data chunk, up to the end of what is on disk
// (the wave driver fills in the chunk size only when the device closes).
std::vector<int16_t> read_wave_samples(const std::string &path);
// Largest absolute sample value.
int peak(const std::vector<int16_t> &samples);

// Polls `condition` every 5 ms until it holds or `timeout` passes; its last result.
bool wait_until(const std::function<bool()> &condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(5));

// A fresh folder per test (mkdtemp), removed with everything in it afterwards.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    std::string path(const std::string &name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

// The SFML player behind a sound, as the library's private records hold it.
sf::SoundSource &source(vollo_sound *sound);
sf::SoundSource::Status status(vollo_sound *sound);
bool looping(vollo_sound *sound);
sf::Time offset(vollo_sound *sound);
sf::Time duration(vollo_sound *sound);
}  // namespace audio_test

#endif
