// Makes records of each kind, deletes some, fails once, and exits with the rest alive.
#include <cstdio>

#include "sanitizer_pause.hpp"
#include "vollo.h"

int main()
{
    // The records left alive are the point: the debug listing names them.
    vollo_test::abandoned_by_sfml pause;
    const bool made = vollo_start(64, 48, false, "probe") && vollo_new_picture(32, 16) &&
                      vollo_new_pixelarray(8, 4) && vollo_new_ini();
    vollo_delete_clipable(vollo_new_pixelarray(2, 2));
    vollo_delete_ini(vollo_new_ini());
    vollo_load_pixelarray("/nonexistent/x.png");
    std::printf("%s\n", made ? "made" : "missing");
}
