#include <cmath>

#include "sound.hpp"

void vollo_sound_volume(vollo_sound *sound, double volume)
{
    // Not a number has no place in 0..100: the volume stays as it was.
    if (sound == nullptr || std::isnan(volume))
        return;
    if (volume < 0)
        volume = 0;
    else if (volume > 100)
        volume = 100;
    vollo_audio::for_each_player(sound, [volume](sf::SoundSource &player) { player.setVolume(static_cast<float>(volume)); });
}
