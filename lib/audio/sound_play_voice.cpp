#include <new>

#include "sound.hpp"

namespace
{
// A voice for the effect: one that has gone quiet, else a new one while fewer than
// eight sound, else the one that has played longest. Null when none can be made.
sf::Sound *free_voice(vollo_effect *effect)
{
    sf::Sound *oldest = &effect->player;
    for (std::unique_ptr<sf::Sound> &voice : effect->voices)
    {
        if (!voice)
        {
            voice.reset(new (std::nothrow) sf::Sound(effect->buffer));
            return voice.get();
        }
        if (voice->getStatus() != sf::SoundSource::Playing)
            return voice.get();
        if (voice->getPlayingOffset() > oldest->getPlayingOffset())
            oldest = voice.get();
    }
    return oldest;
}
}  // namespace

void vollo_sound_play_voice(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    if (sound->type == 0)
    {
        // A stream has one position: a music plays as with vollo_sound_play.
        static_cast<vollo_music *>(sound)->player.play();
        return;
    }
    vollo_effect *effect = static_cast<vollo_effect *>(sound);
    sf::Sound *voice = &effect->player;
    if (voice->getStatus() == sf::SoundSource::Playing)
        voice = free_voice(effect);
    if (voice == nullptr)
        return;
    if (voice != &effect->player)
    {
        // The voice sounds as the effect is set now.
        voice->setVolume(effect->player.getVolume());
        voice->setPitch(effect->player.getPitch());
        voice->setLoop(effect->player.getLoop());
    }
    voice->stop();  // from the start, whatever it was doing
    voice->play();
}
