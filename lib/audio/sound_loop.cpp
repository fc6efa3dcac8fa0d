#include "sound.hpp"

void vollo_sound_loop(vollo_sound *sound, bool loop)
{
    if (sound == nullptr)
        return;
    if (sound->type == 0)
    {
        static_cast<vollo_music *>(sound)->silent.loop = loop;
        static_cast<vollo_music *>(sound)->player.setLoop(loop);
        return;
    }
    vollo_effect *effect = static_cast<vollo_effect *>(sound);
    effect->silent.loop = loop;
    effect->player.setLoop(loop);
    for (std::unique_ptr<sf::Sound> &voice : effect->voices)
        if (voice)
            voice->setLoop(loop);
}
