#include "error/records.hpp"
#include "sound.hpp"

void vollo_delete_sound(vollo_sound *sound)
{
    if (sound == nullptr)
        return;
    vollo_untrack(sound);
    vollo_audio::QuietDriver quiet_driver;  // the last sound closes SFML's device
    // No virtual destructor: the record is released as the kind it was made as.
    if (sound->type != 0)
        delete static_cast<vollo_effect *>(sound);  // player first, then buffer
    else
        delete static_cast<vollo_music *>(sound);
}
