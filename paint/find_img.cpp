// Finds the interface pictures whatever the working directory: ./img/ first, then the
// img folder beside the executable, one level above it (a build folder inside the
// source tree), the installed share folder, and the source tree known at build time.
// PIXODRAW_IMG_DIR, when set, names the one folder to look in instead.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <limits.h>
#include <unistd.h>

#include "bmp.h"
#include "interface.h"

static std::string executable_dir()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);

    if (length <= 0)
        return std::string();
    path[length] = '\0';
    std::string dir(path);
    const size_t slash = dir.rfind('/');
    return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

// The folders to look in, in order.
static std::vector<std::string> picture_folders()
{
    const char *chosen = getenv("PIXODRAW_IMG_DIR");
    if (chosen != nullptr && chosen[0] != '\0')
        return {chosen};
    std::vector<std::string> folders = {"./img"};
    const std::string exe_dir = executable_dir();
    if (!exe_dir.empty())
    {
        folders.push_back(exe_dir + "/img");
        folders.push_back(exe_dir + "/../img");
        folders.push_back(exe_dir + "/../share/pixodraw/img");
    }
#ifdef PIXODRAW_SOURCE_IMG_DIR
    folders.push_back(PIXODRAW_SOURCE_IMG_DIR);
#endif
#ifdef PIXODRAW_INSTALL_IMG_DIR
    folders.push_back(PIXODRAW_INSTALL_IMG_DIR);
#endif
    return folders;
}

vollo_pixelarray *load_interface_picture(const char *name)
{
    const std::vector<std::string> folders = picture_folders();
    for (const std::string &folder : folders)
    {
        vollo_pixelarray *picture = load_bmp((folder + "/" + name).c_str());
        if (picture != nullptr)
            return picture;
    }
    // One line, so that a missing install shows without flooding the terminal.
    fprintf(stderr, "pixodraw: warning: interface picture %s not found in %s%s; drawing without it\n",
            name, folders[0].c_str(), folders.size() > 1 ? " nor beside the program" : "");
    return nullptr;
}
