// Makes one record of each kind, deletes some, fails once, and exits with the rest
// still alive: the run that VOLLO_DEBUG=1 lists at exit.
#include <cstdio>

#include "vollo.h"

int main()
{
    vollo_window *window = vollo_start(64, 48, false, "probe");
    vollo_picture *picture = vollo_new_picture(32, 16);
    vollo_pixelarray *kept = vollo_new_pixelarray(8, 4);
    vollo_pixelarray *deleted = vollo_new_pixelarray(2, 2);
    vollo_ini *ini = vollo_new_ini();
    vollo_ini *deleted_ini = vollo_new_ini();
    vollo_delete_clipable(deleted);
    vollo_delete_ini(deleted_ini);
    vollo_load_pixelarray("/nonexistent/x.png");
    std::printf("%s\n", window && picture && kept && ini ? "made" : "missing");
    return 0;
}
