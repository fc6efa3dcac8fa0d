// A program that keeps its settings in an INI file: it reads the window size and
// colour from it, counts its own runs there, and saves the file back.
//
// Shows: vollo_load_ini / vollo_new_ini, reading and writing values with
// vollo_ini_get_field / vollo_ini_set_field, walking the scopes, vollo_save_ini.
// Options: --settings PATH (default: settings.ini in the current folder), --frames N.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
// A number from the settings, or `fallback` when the value is missing.
long setting(vollo_ini *ini, const char *scope, const char *field, long fallback)
{
    const char *text = vollo_ini_get_field(ini, scope, field, 0);
    return text != nullptr ? std::strtol(text, nullptr, 0) : fallback;
}

struct Run
{
    vollo_window *window;
    uint32_t background;
    long frames_left;
};

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

vollo_response each_frame(void *data)
{
    Run &run = *static_cast<Run *>(data);
    vollo_fill(run.window, run.background);
    const bool last = example_last_frame(run.frames_left, run.window);
    vollo_display(run.window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    const char *path = "settings.ini";
    Run run = {};
    run.frames_left = example_frames(argc, argv, "--settings", &path);

    // An existing file is read; on a first run (no file yet) the defaults are written.
    // A file that exists but cannot be read is left alone rather than replaced.
    struct stat status;
    const bool exists = stat(path, &status) == 0;
    vollo_ini *ini = vollo_load_ini(path);
    if (ini == nullptr && exists)
    {
        std::fprintf(stderr, "cannot read the settings in %s\n", path);
        return 1;
    }
    if (ini == nullptr)
    {
        ini = vollo_new_ini();
        if (ini == nullptr)
            return 1;
        vollo_ini_set_field(ini, default_scope, "title", 0, "vollo: settings in an INI file");
        vollo_ini_set_field(ini, "window", "width", 0, "320");
        vollo_ini_set_field(ini, "window", "height", 0, "200");
        vollo_ini_set_field(ini, "window", "background", 0, "0xFF604020");
    }

    // Change a value: one more run.
    const long runs = setting(ini, "stats", "runs", 0) + 1;
    vollo_ini_set_field(ini, "stats", "runs", 0, std::to_string(runs).c_str());

    // Every scope, in name order (the default scope, named "", comes first).
    for (vollo_ini_scope *scope = vollo_ini_first(ini); scope != last_scope; scope = vollo_ini_next(ini, scope))
        std::printf("[%s]\n", vollo_ini_scope_name(ini, scope));
    std::printf("runs: %ld\n", runs);

    if (!vollo_save_ini(ini, path))
    {
        std::fprintf(stderr, "cannot save %s\n", path);
        vollo_delete_ini(ini);
        return 1;
    }

    // Use the settings: a window of the stored size and colour.
    const char *title = vollo_ini_get_field(ini, default_scope, "title", 0);
    run.background = static_cast<uint32_t>(setting(ini, "window", "background", 0xFF000000));
    run.window = vollo_start(static_cast<uint32_t>(setting(ini, "window", "width", 320)),
                             static_cast<uint32_t>(setting(ini, "window", "height", 200)), false,
                             title != nullptr ? title : "vollo");
    if (run.window == nullptr)
    {
        vollo_delete_ini(ini);
        return 1;
    }
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(run.window, 30, &run);
    vollo_stop(run.window);
    vollo_delete_ini(ini);  // after the window: `title` points into the document
    return result == 0 || result == 1 ? 0 : 1;
}
