#include "sound.hpp"

bool vollo_sound_playing(vollo_sound *sound)
{
    if (sound == nullptr)
        return false;
    bool playing = false;
    vollo_audio::for_each_player(sound, [&playing](sf::SoundSource &player) {
        playing = playing || player.getStatus() == sf::SoundSource::Playing;
    });
    return playing;
}
