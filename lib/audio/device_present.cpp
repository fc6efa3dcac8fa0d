// Whether sounds can be heard, found before SFML first opens the device.
#include <AL/alc.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "error/error.hpp"
#include "sound.hpp"

namespace vollo_audio
{
namespace
{

// Standard error pointed at /dev/null; the saved descriptor, or -1.
int silence_standard_error()
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved < 0 || nothing < 0 || dup2(nothing, STDERR_FILENO) < 0)
    {
        if (saved >= 0)
            close(saved);
        if (nothing >= 0)
            close(nothing);
        return -1;
    }
    close(nothing);
    return saved;
}

void restore_standard_error(int saved)
{
    if (saved < 0)
        return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}

bool ask_driver()
{
    const int saved = silence_standard_error();
    ALCdevice *device = alcOpenDevice(nullptr);
    if (device)
        alcCloseDevice(device);
    restore_standard_error(saved);
    return device != nullptr;
}

}  // namespace

bool device_present()
{
    static const bool present = [] {
        const bool found = ask_driver();
        if (!found)
        {
            sf::err().rdbuf(nullptr);
            vollo_fail("no audio device: sounds play silently");
        }
        return found;
    }();
    return present;
}

QuietDriver::QuietDriver()
{
    if (!device_present())
        saved_ = silence_standard_error();
}

QuietDriver::~QuietDriver()
{
    restore_standard_error(saved_);
}

}  // namespace vollo_audio
