#include "sound.hpp"

void vollo_sound_play(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
        vollo_audio::set_silent(*clock, vollo_audio::silent_clock::playing, 0);
    if (sound->type != 0)
        static_cast<vollo_effect *>(sound)->player.play();
    else
        static_cast<vollo_music *>(sound)->player.play();
}
