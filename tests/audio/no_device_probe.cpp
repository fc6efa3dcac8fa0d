// Loads, plays and deletes an effect and a music given on the command line, printing
// what vollo says of each; the no-device test runs it where OpenAL finds no device.
#include <cstdio>

#include "vollo.h"

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    for (int i = 1; i < 3; ++i)
    {
        vollo_clear_error();
        vollo_sound *sound = i == 1 ? vollo_load_effect(argv[i]) : vollo_load_music(argv[i]);
        std::printf("%s loaded=%d error='%s'", i == 1 ? "effect" : "music", sound != nullptr, vollo_error());
        vollo_sound_play(sound);
        vollo_sound_seek(sound, 0.1);
        std::printf(" length=%.3f offset=%.3f\n", vollo_sound_length(sound), vollo_sound_offset(sound));
        vollo_sound_stop(sound);
        vollo_delete_sound(sound);
    }
    return 0;
}
