#include "error/error.hpp"
#include "sound.hpp"

void vollo_sound_resume(vollo_sound *sound)
{
    if (sound == nullptr)
    {
        vollo_fail("vollo_sound_resume: no sound given (null)");
        return;
    }
    // Only paused players go on, from where they were; stopped ones stay quiet.
    vollo_audio::for_each_player(sound, [](sf::SoundSource &player) {
        if (player.getStatus() == sf::SoundSource::Paused)
            player.play();
    });
}
