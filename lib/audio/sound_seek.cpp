#include <algorithm>
#include <cmath>

#include "error/error.hpp"
#include "sound.hpp"

namespace
{
// True when `seconds` lies at or past the last sample. SFML hands an effect's offset
// to OpenAL in single precision, which refuses (and SFML then prints) any offset
// past the end: the test is made on the value OpenAL will see.
bool at_end(vollo_sound *sound, double seconds)
{
    const double length = vollo_audio::length_of(sound);
    if (sound->type != 0)
        return double(static_cast<float>(seconds)) >= length;
    return seconds >= length;
}
}  // namespace

void vollo_sound_seek(vollo_sound *sound, double seconds)
{
    if (sound == nullptr || std::isnan(seconds))
    {
        vollo_fail(sound ? "vollo_sound_seek: NaN is not a position (give seconds from the start)"
                         : "vollo_sound_seek: no sound given (null)");
        return;
    }
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
    {
        vollo_audio::silent_offset(sound, *clock);  // a clock past the end has stopped
        if (clock->state == vollo_audio::silent_clock::stopped)
            return;
        const bool end = at_end(sound, seconds);
        if (end && !clock->loop)
            vollo_audio::set_silent(*clock, vollo_audio::silent_clock::stopped, 0);
        else
            vollo_audio::set_silent(*clock, clock->state, end ? 0 : std::max(0.0, seconds));
        return;
    }
    sf::SoundSource &player = vollo_audio::source(sound);
    // A stopped sound always plays from its start: there is nothing to move.
    if (player.getStatus() == sf::SoundSource::Stopped)
        return;
    const bool looping = sound->type != 0 ? static_cast<vollo_effect *>(sound)->player.getLoop()
                                          : static_cast<vollo_music *>(sound)->player.getLoop();
    const bool end = at_end(sound, seconds);
    if (end && !looping)
    {
        player.stop();  // as if it had played to its end
        return;
    }
    // Past the end, a looping sound starts over; before the start counts as the start.
    const sf::Time offset = end ? sf::Time::Zero : sf::microseconds(int64_t(std::max(0.0, seconds) * 1e6));
    if (sound->type != 0)
        static_cast<vollo_effect *>(sound)->player.setPlayingOffset(offset);
    else
        static_cast<vollo_music *>(sound)->player.setPlayingOffset(offset);
}
