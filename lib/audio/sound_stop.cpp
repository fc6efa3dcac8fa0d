#include "sound.hpp"

void vollo_sound_stop(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
        vollo_audio::set_silent(*clock, vollo_audio::silent_clock::stopped, 0);
    vollo_audio::for_each_player(sound, [](sf::SoundSource &player) { player.stop(); });
}
