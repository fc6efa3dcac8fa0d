#include "sound.hpp"

void vollo_sound_stop(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    if (sound->type != 0)
        static_cast<vollo_effect *>(sound)->player.stop();
    else
        static_cast<vollo_music *>(sound)->player.stop();
}
