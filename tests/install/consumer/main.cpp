// A program built against the installed library only: the flat INI API, the
// kzr::Ini class behind it, and the Vollo constants (which link in every library
// function, and with them every SFML module the library needs).
#include <cstdio>
#include <cstring>

#include <vollo.h>
#include <ini/Ini.hpp>

int main()
{
    vollo_ini *settings = vollo_new_ini();
    if (settings == nullptr)
        return 1;
    Vollo::SetField(settings, "window", "title", 0, "installed");
    kzr::Ini &document = *settings;  // the same document, as the C++ class
    bool same = document.Access("window", "title", 0) == "installed";
    const bool no_sound = vollo_load_effect("/nonexistent.wav") == nullptr;
    // Typed values and the image writer come with the library too.
    const bool typed = vollo_ini_get_int(settings, "window", "title", 0, 12) == 12 &&
                       !vollo_save_buffer(nullptr, "/nonexistent/shot.png");
    same = same && typed;
    vollo_delete_ini(settings);
    std::printf("installed vollo works: %s\n", same && no_sound ? "yes" : "no");
    return same && no_sound ? 0 : 1;
}
