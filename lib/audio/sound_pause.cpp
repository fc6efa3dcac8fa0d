#include "error/error.hpp"
#include "sound.hpp"

void vollo_sound_pause(vollo_sound *sound)
{
    if (sound == nullptr)
    {
        vollo_fail("vollo_sound_pause: no sound given (null)");
        return;
    }
    if (vollo_audio::silent_clock *clock = vollo_audio::silent_clock_of(sound))
    {
        const double at = vollo_audio::silent_offset(sound, *clock);
        if (clock->state == vollo_audio::silent_clock::playing)
            vollo_audio::set_silent(*clock, vollo_audio::silent_clock::paused, at);
    }
    // A stopped player stays stopped, so that resuming never starts it.
    vollo_audio::for_each_player(sound, [](sf::SoundSource &player) {
        if (player.getStatus() == sf::SoundSource::Playing)
            player.pause();
    });
}
