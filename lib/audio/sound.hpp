// Private records and helpers of the sound functions.
#ifndef VOLLO_AUDIO_SOUND_HPP
#define VOLLO_AUDIO_SOUND_HPP

#include <SFML/Audio.hpp>

#include <sys/stat.h>

#include <chrono>
#include <memory>

#include "vollo.h"

// Where a sound would be with no audio device to play it: OpenAL then keeps no
// position (and a music's stream may end at once), so the sound's own clock runs from play to its length (or round again,
// looping), and seeking, pausing and stopping move it.
namespace vollo_audio
{
struct silent_clock
{
    enum
    {
        stopped,
        playing,
        paused
    } state = stopped;
    double base = 0;  // seconds from the start when it last started or stopped moving
    std::chrono::steady_clock::time_point since;
    bool loop = false;
};
}  // namespace vollo_audio

// An effect: the whole file decoded into memory. The player is declared after the
// buffer so that it is destroyed first and never refers to a destroyed buffer.
struct vollo_effect : vollo_sound
{
    sf::SoundBuffer buffer;
    sf::Sound player;
    // As decoded: OpenAL cannot tell them back when there is no audio device.
    uint64_t frames = 0;
    unsigned int rate = 0;
    // Extra players of vollo_sound_play_voice, made on first need (each holds an audio
    // source, of which the device has few). Declared after the buffer: destroyed first.
    std::unique_ptr<sf::Sound> voices[7];
    vollo_audio::silent_clock silent;
};

// A music: streamed from its file while it plays.
struct vollo_music : vollo_sound
{
    sf::Music player;
    vollo_audio::silent_clock silent;
};

namespace vollo_audio
{
// The SFML player behind a sound: its sf::Sound for an effect (any type but 0),
// its sf::Music for a music.
inline sf::SoundSource &source(vollo_sound *sound)
{
    if (sound->type != 0)
        return static_cast<vollo_effect *>(sound)->player;
    return static_cast<vollo_music *>(sound)->player;
}

// Calls act(player) for every SFML player of the sound: a music's one, an effect's
// own and each voice made so far.
template <typename Action>
void for_each_player(vollo_sound *sound, Action act)
{
    act(source(sound));
    if (sound->type == 0)
        return;
    for (std::unique_ptr<sf::Sound> &voice : static_cast<vollo_effect *>(sound)->voices)
        if (voice)
            act(*voice);
}

// Length of the sound in seconds: exact from the sample count for an effect, as the
// file's header tells it for a music.
inline double length_of(vollo_sound *sound)
{
    if (sound->type != 0)
    {
        const vollo_effect *effect = static_cast<vollo_effect *>(sound);
        return effect->rate ? double(effect->frames) / effect->rate : 0.0;
    }
    return static_cast<vollo_music *>(sound)->player.getDuration().asMicroseconds() / 1e6;
}

// SFML reads any path it can open and never returns from a folder or a pipe:
// only regular files (or links to them) are handed to it.
inline bool is_regular_file(const char *path)
{
    struct stat status;
    return path != nullptr && stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

// Keeps SFML's error stream quiet while it lives: the loaders report a file that
// cannot be read by their null result alone.
class QuietErrors
{
public:
    QuietErrors() : saved_(sf::err().rdbuf(nullptr)) {}
    ~QuietErrors() { sf::err().rdbuf(saved_); }
    QuietErrors(const QuietErrors &) = delete;
    QuietErrors &operator=(const QuietErrors &) = delete;

private:
    std::streambuf *saved_;
};

// The sound's silent clock when there is no audio device to play it; null when
// sounds are heard.
silent_clock *silent_clock_of(vollo_sound *sound);
// Seconds from the start on the silent clock, read from the sound's length: a clock
// past the end stops at 0, or goes round when looping.
double silent_offset(vollo_sound *sound, silent_clock &clock);
// Starts the clock at `seconds`, or holds it there (state stopped or paused).
void set_silent(silent_clock &clock, decltype(silent_clock::state) state, double seconds);

// Whether an audio device can be opened. The driver is asked once, its messages kept
// off standard error. When there is none, vollo_error (and VOLLO_DEBUG) say so that
// first time, and SFML's reports of the OpenAL calls that then fail are silenced for
// the rest of the run: sounds load and play silently.
bool device_present();

// Keeps standard error closed while it lives when there is no audio device: SFML asks
// the driver for the device again each time its first audio object is made, and the
// driver writes its complaints straight to file descriptor 2.
class QuietDriver
{
public:
    QuietDriver();
    ~QuietDriver();
    QuietDriver(const QuietDriver &) = delete;
    QuietDriver &operator=(const QuietDriver &) = delete;

private:
    int saved_ = -1;
};
}  // namespace vollo_audio

#endif
