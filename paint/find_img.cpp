// Finds the interface pictures whatever the working directory: ./img/ first, then the
// img folder beside the executable, one level above it (a build folder inside the
// source tree), the installed share folder, and the source tree known at build time.
#include <string>
#include <vector>

#include <limits.h>
#include <unistd.h>

#include "paint.h"

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

vollo_pixelarray *load_interface_picture(const char *name)
{
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
    for (const std::string &folder : folders)
    {
        vollo_pixelarray *picture = load_bmp((folder + "/" + name).c_str());
        if (picture != nullptr)
            return picture;
    }
    return nullptr;
}
