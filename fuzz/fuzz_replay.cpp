// The recording reader over arbitrary text: a script is refused with a reason or read;
// every event read is written back as a line that reads as the same event; and a
// script that is read replays through a loop without a window, never a crash.
#include <cstring>

#include "fuzz_common.hpp"
#include "input_private.hpp"
#include "vollo.h"

namespace
{

vollo_response stop_after_many_frames(void *data)
{
    return ++*static_cast<int *>(data) < 200 ? VOLLO_CONTINUE : 9;
}

// Responses that compute with what they get, as a program would.
vollo_response on_wheel(int32_t wheel, int32_t delta, void *)
{
    return delta * 2 + wheel == INT32_MIN ? 8 : VOLLO_CONTINUE;
}

vollo_response on_move(const vollo_position *position, void *)
{
    return position->x * 2 - position->y * 2 == INT32_MIN ? 8 : VOLLO_CONTINUE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace vollo_internal;
    const std::string text(reinterpret_cast<const char *>(data), size);
    replay_script script;
    std::string error;
    if (!parse_replay(text, "fuzz", script, error))
    {
        if (error.empty())
            abort();  // refused without a reason
        return 0;
    }
    for (const replay_section &section : script.sections)
        for (const replay_entry &entry : section.entries)
        {
            const std::string line = entry.is_time ? "" : event_line(entry.event);
            if (line.empty())
                continue;
            replay_script again;
            if (!parse_replay("vollo-input 1\nloop 0\n1 " + line + "\n", "again", again, error) ||
                again.sections[0].entries.size() != 1 || event_line(again.sections[0].entries[0].event) != line)
                abort();  // written back as something else
        }
    fuzz_write_file(data, size);
    if (!vollo_replay_input(fuzz_file_path().c_str()))
        abort();  // read above, refused here
    vollo_set_wheel_response(on_wheel);
    vollo_set_move_response(on_move);
    int frames = 0;
    vollo_set_loop_main_function(stop_after_many_frames);
    for (size_t loop = 0; loop <= script.sections.size() && loop < 4; ++loop)
        vollo_loop(nullptr, 100, &frames);
    vollo_replay_input(nullptr);
    return 0;
}
