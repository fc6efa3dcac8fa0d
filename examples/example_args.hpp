// The one command-line flag every example understands: --frames N ends the program
// by itself after N frames (the tests use it); without it an example runs until
// its window is closed or Escape is pressed.
#ifndef VOLLO_EXAMPLE_ARGS_HPP
#define VOLLO_EXAMPLE_ARGS_HPP

#include <cstdlib>
#include <cstring>

// Frames to run, or -1 for no limit. `option`/`value` pick up one more
// "--option value" pair when the example has one (null: none).
inline long example_frames(int argc, char **argv, const char *option = nullptr,
                           const char **value = nullptr)
{
    long frames = -1;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::strtol(argv[i + 1], nullptr, 10);
        else if (option != nullptr && std::strcmp(argv[i], option) == 0)
            *value = argv[i + 1];
    }
    return frames;
}

#endif
