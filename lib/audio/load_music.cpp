#include <new>

#include "error/error.hpp"
#include "error/records.hpp"
#include "sound.hpp"

vollo_sound *vollo_load_music(const char *path)
{
    if (!vollo_audio::is_regular_file(path))
    {
        vollo_fail_load(path, "not a regular file");
        return nullptr;
    }
    vollo_audio::QuietDriver quiet_driver;
    vollo_music *music = nullptr;
    try
    {
        music = new (std::nothrow) vollo_music;
        if (music == nullptr)
        {
            vollo_fail("cannot load '%s': out of memory", path);
            return nullptr;
        }
        bool opened;
        {
            vollo_audio::QuietErrors quiet;
            opened = music->player.openFromFile(path);
        }
        // SFML opens a file with a channel count it has no playback format for (0, 3,
        // 5, more than 8) or a sample rate of 0, and only fails when playing starts.
        if (!opened || music->player.getChannelCount() == 0 || music->player.getSampleRate() == 0)
        {
            delete music;
            vollo_fail_load(path, "not music that can be played (WAV, OGG or FLAC; damaged, or with a channel "
                                  "count or sample rate that cannot be played)");
            return nullptr;
        }
        music->type = 0;
        vollo_track(music, "music", "vollo_load_music", 0, 0);
        return music;
    }
    catch (const std::exception &)
    {
        delete music;
        vollo_fail("cannot load '%s': out of memory", path);
        return nullptr;
    }
}
