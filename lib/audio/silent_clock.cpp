#include <cmath>

#include "sound.hpp"

namespace vollo_audio
{

silent_clock *silent_clock_of(vollo_sound *sound)
{
    if (device_present())
        return nullptr;
    if (sound->type == 0)
        return &static_cast<vollo_music *>(sound)->silent;
    return &static_cast<vollo_effect *>(sound)->silent;
}

double silent_offset(vollo_sound *sound, silent_clock &clock)
{
    if (clock.state != silent_clock::playing)
        return clock.state == silent_clock::paused ? clock.base : 0;
    // At the natural pitch: OpenAL keeps no pitch either without a device.
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - clock.since;
    const double at = clock.base + elapsed.count(), length = length_of(sound);
    if (at < length)
        return at;
    if (clock.loop && length > 0)
        return std::fmod(at, length);
    set_silent(clock, silent_clock::stopped, 0);  // played to its end
    return 0;
}

void set_silent(silent_clock &clock, decltype(silent_clock::state) state, double seconds)
{
    clock.state = state;
    clock.base = state == silent_clock::stopped ? 0 : seconds;
    clock.since = std::chrono::steady_clock::now();
}

}  // namespace vollo_audio
