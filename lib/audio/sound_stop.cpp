#include "sound.hpp"

void vollo_sound_stop(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    vollo_audio::for_each_player(sound, [](sf::SoundSource &player) { player.stop(); });
}
