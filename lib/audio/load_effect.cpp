#include <algorithm>
#include <new>
#include <vector>

#include "error/error.hpp"
#include "error/records.hpp"
#include "sound.hpp"

namespace
{
// Decodes the whole file into `buffer`. The samples are read chunk by chunk rather
// than into a block sized from the header, so that a small file claiming gigabytes
// of sound costs only what it really holds. As with SFML's own loader, a file with
// fewer samples than its header declares is refused.
bool decode(const char *path, vollo_effect &effect)
{
    sf::InputSoundFile file;
    if (!file.openFromFile(path))
        return false;
    const sf::Uint64 declared = file.getSampleCount();
    const sf::Uint64 chunk = 65536 * static_cast<sf::Uint64>(std::max(1u, file.getChannelCount()));
    std::vector<sf::Int16> samples;
    while (samples.size() < declared)
    {
        const size_t before = samples.size();
        const sf::Uint64 wanted = std::min(chunk, declared - before);
        samples.resize(before + wanted);
        const sf::Uint64 read = file.read(&samples[before], wanted);
        samples.resize(before + read);
        if (read < wanted)
            return false;
    }
    if (samples.empty())
        return false;
    effect.frames = samples.size() / std::max(1u, file.getChannelCount());
    effect.rate = file.getSampleRate();
    // Without an audio device SFML keeps the samples but OpenAL refuses them.
    return effect.buffer.loadFromSamples(samples.data(), samples.size(), file.getChannelCount(),
                                         file.getSampleRate()) ||
           !vollo_audio::device_present();
}
}  // namespace

vollo_sound *vollo_load_effect(const char *path)
{
    if (!vollo_audio::is_regular_file(path))
    {
        vollo_fail_load(path, "not a regular file");
        return nullptr;
    }
    vollo_audio::QuietDriver quiet_driver;
    vollo_effect *effect = nullptr;
    try
    {
        effect = new (std::nothrow) vollo_effect;
        if (effect == nullptr)
        {
            vollo_fail("cannot load '%s': out of memory", path);
            return nullptr;
        }
        bool loaded;
        {
            vollo_audio::QuietErrors quiet;
            loaded = decode(path, *effect);
        }
        if (!loaded)
        {
            delete effect;  // the player goes first, then the buffer
            vollo_fail_load(path, "not a sound that can be decoded (WAV, OGG or FLAC; damaged or cut short)");
            return nullptr;
        }
        effect->player.setBuffer(effect->buffer);
        effect->type = 1;
        vollo_track(effect, "sound effect", "vollo_load_effect", 0, 0);
        return effect;
    }
    catch (const std::exception &)
    {
        // Decoding a large file can exhaust memory.
        delete effect;
        vollo_fail("cannot load '%s': out of memory", path);
        return nullptr;
    }
}
