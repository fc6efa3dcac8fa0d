#include "sound.hpp"

void vollo_sound_loop(vollo_sound *sound, bool loop)
{
    if (sound == nullptr)
        return;
    if (sound->type != 0)
        static_cast<vollo_effect *>(sound)->player.setLoop(loop);
    else
        static_cast<vollo_music *>(sound)->player.setLoop(loop);
}
