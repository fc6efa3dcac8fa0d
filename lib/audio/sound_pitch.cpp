#include <cmath>

#include "sound.hpp"

void vollo_sound_pitch(vollo_sound *sound, double pitch)
{
    if (sound == nullptr || std::isnan(pitch))
        return;
    if (pitch < 0)
        pitch = 0;
    vollo_audio::source(sound).setPitch(static_cast<float>(pitch));
}
