#include "error/error.hpp"
#include "sound.hpp"

double vollo_sound_offset(vollo_sound *sound)
{
    if (sound == nullptr)
    {
        vollo_fail("vollo_sound_offset: no sound given (null)");
        return 0;
    }
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
        return vollo_audio::silent_offset(sound, *clock);
    const sf::Time offset = sound->type != 0 ? static_cast<vollo_effect *>(sound)->player.getPlayingOffset()
                                             : static_cast<vollo_music *>(sound)->player.getPlayingOffset();
    return offset.asMicroseconds() / 1e6;
}
