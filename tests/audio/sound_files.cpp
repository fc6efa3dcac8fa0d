#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "audio/sound.hpp"
#include "audio_support.hpp"

namespace audio_test
{
bool write_tone(const std::string &path, double seconds, int16_t amplitude)
{
    std::vector<sf::Int16> samples(static_cast<size_t>(seconds * kSampleRate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<sf::Int16>(amplitude * std::sin(2 * M_PI * 440.0 * i / kSampleRate));
    sf::OutputSoundFile file;
    if (!file.openFromFile(path, kSampleRate, 1))
        return false;
    file.write(samples.data(), samples.size());
    return true;  // the file is completed when `file` goes out of scope
}

bool write_bytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

namespace
{
void put16(std::string &out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string &out, uint32_t value)
{
    put16(out, static_cast<uint16_t>(value & 0xFFFF));
    put16(out, static_cast<uint16_t>(value >> 16));
}

uint32_t get32(const char *bytes)
{
    uint32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}
}  // namespace

std::string wav_header(uint16_t channels, uint32_t sample_rate, uint16_t bits,
                       uint32_t declared_data_size, uint32_t payload)
{
    std::string out = "RIFF";
    put32(out, 36 + payload);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, channels);
    put32(out, sample_rate);
    put32(out, sample_rate * channels * bits / 8);
    put16(out, static_cast<uint16_t>(channels * bits / 8));
    put16(out, bits);
    out += "data";
    put32(out, declared_data_size);
    for (uint32_t i = 0; i < payload; ++i)
        out.push_back(static_cast<char>(i * 37));
    return out;
}

std::vector<int16_t> read_wave_samples(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return samples;
    size_t at = 12;
    while (at + 8 <= bytes.size())
    {
        const uint32_t size = get32(&bytes[at + 4]);
        if (bytes.compare(at, 4, "data") == 0)
        {
            size_t end = bytes.size();
            if (size != 0 && at + 8 + size < end)
                end = at + 8 + size;
            samples.resize((end - at - 8) / 2);
            std::memcpy(samples.data(), &bytes[at + 8], samples.size() * 2);
            break;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}

int peak(const std::vector<int16_t> &samples)
{
    int highest = 0;
    for (int16_t sample : samples)
        highest = std::max(highest, std::abs(static_cast<int>(sample)));
    return highest;
}

bool wait_until(const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TempDir::TempDir()
{
    std::string pattern = process_dir() + "/test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
    {
        perror("mkdtemp");
        std::abort();  // never let a test write outside its own folder
    }
    dir_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (!dir_.empty())
        std::filesystem::remove_all(dir_, ignored);
}

sf::SoundSource &source(vollo_sound *sound) { return vollo_audio::source(sound); }

sf::SoundSource::Status status(vollo_sound *sound)
{
    if (sound->type != 0)
        return static_cast<vollo_effect *>(sound)->player.getStatus();
    return static_cast<vollo_music *>(sound)->player.getStatus();
}

bool looping(vollo_sound *sound)
{
    if (sound->type != 0)
        return static_cast<vollo_effect *>(sound)->player.getLoop();
    return static_cast<vollo_music *>(sound)->player.getLoop();
}

sf::Time offset(vollo_sound *sound)
{
    if (sound->type != 0)
        return static_cast<vollo_effect *>(sound)->player.getPlayingOffset();
    return static_cast<vollo_music *>(sound)->player.getPlayingOffset();
}

sf::Time duration(vollo_sound *sound)
{
    if (sound->type != 0)
        return static_cast<vollo_effect *>(sound)->buffer.getDuration();
    return static_cast<vollo_music *>(sound)->player.getDuration();
}
}  // namespace audio_test
