#include "error/error.hpp"
#include "sound.hpp"

double vollo_sound_length(vollo_sound *sound)
{
    if (sound == nullptr)
    {
        vollo_fail("vollo_sound_length: no sound given (null)");
        return 0;
    }
    return vollo_audio::length_of(sound);
}
