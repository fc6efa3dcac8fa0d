// The command-line options every example understands:
//   --frames N         ends the program by itself after N frames (the tests use it);
//   --screenshot PATH  with --frames, saves the window as its last frame shows it
//                      (PNG, BMP, TGA or JPEG, by the name's ending; `make screenshots`).
// Without them an example runs until its window is closed or Escape is pressed.
#ifndef VOLLO_EXAMPLE_ARGS_HPP
#define VOLLO_EXAMPLE_ARGS_HPP

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vollo.h"

// Where --screenshot asked the last frame to go (null: nowhere).
inline const char *example_screenshot = nullptr;

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
        else if (std::strcmp(argv[i], "--screenshot") == 0)
            example_screenshot = argv[i + 1];
        else if (option != nullptr && std::strcmp(argv[i], option) == 0)
            *value = argv[i + 1];
    }
    return frames;
}

// Counts one frame off `frames_left` (-1: no limit); call it after drawing the frame
// and before vollo_display. True on the last frame, which it first saves to the
// --screenshot path when there is one.
inline bool example_last_frame(long &frames_left, vollo_window *window)
{
    if (frames_left < 0 || --frames_left > 0)
        return false;
    if (example_screenshot != nullptr && !vollo_save_buffer(window, example_screenshot))
        std::fprintf(stderr, "cannot save the screenshot: %s\n", vollo_error());
    return true;
}

#endif
