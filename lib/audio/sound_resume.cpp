#include "error/error.hpp"
#include "sound.hpp"

void vollo_sound_resume(vollo_sound *sound)
{
    if (sound == nullptr)
    {
        vollo_fail("vollo_sound_resume: no sound given (null)");
        return;
    }
    vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound);
    if (clock && clock->state == vollo_audio::silent_clock::paused)
        vollo_audio::set_silent(*clock, vollo_audio::silent_clock::playing, clock->base);
    // Only paused players go on, from where they were; stopped ones stay quiet.
    vollo_audio::for_each_player(sound, [](sf::SoundSource &player) {
        if (player.getStatus() == sf::SoundSource::Paused)
            player.play();
    });
}
