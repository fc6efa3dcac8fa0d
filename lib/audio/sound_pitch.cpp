#include <cmath>

#include "sound.hpp"

void vollo_sound_pitch(vollo_sound *sound, double pitch)
{
    if (sound == nullptr || std::isnan(pitch))
        return;
    if (pitch < 0)
        pitch = 0;
    vollo_audio::for_each_player(sound, [pitch](sf::SoundSource &player) { player.setPitch(static_cast<float>(pitch)); });
}
