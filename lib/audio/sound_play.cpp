#include "sound.hpp"

void vollo_sound_play(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    if (sound->type != 0)
        static_cast<vollo_effect *>(sound)->player.play();
    else
        static_cast<vollo_music *>(sound)->player.play();
}
