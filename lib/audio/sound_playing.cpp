#include "sound.hpp"

bool vollo_sound_playing(vollo_sound *sound)
{
    if (sound == nullptr)
        return false;
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
        return vollo_audio::silent_offset(sound, *clock), clock->state == vollo_audio::silent_clock::playing;
    bool playing = false;
    vollo_audio::for_each_player(sound, [&playing](sf::SoundSource &player) {
        playing = playing || player.getStatus() == sf::SoundSource::Playing;
    });
    return playing;
}
