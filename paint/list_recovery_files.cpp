// At the start: the drawings kept in the working directory by earlier sessions (files
// named as Ctrl+S and the recovery name them) are listed on standard error with their
// times, so that they are not forgotten there.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include "journal.h"

int list_recovery_files(void)
{
    static const std::regex kept("pixodraw-[0-9]{8}-[0-9]{6}(-[0-9]+)?\\.bmp");
    std::vector<std::string> names;
    if (DIR *dir = opendir("."))
    {
        while (dirent *entry = readdir(dir))
            if (std::regex_match(entry->d_name, kept))
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string &name : names)
    {
        struct stat info;
        char when[32] = "?";
        struct tm local;
        if (stat(name.c_str(), &info) == 0 && localtime_r(&info.st_mtime, &local) != nullptr)
            strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
        std::fprintf(stderr,
                     "pixodraw: a drawing of %s is kept in %s (open it with: pixodraw %s)\n", when,
                     name.c_str(), name.c_str());
    }
    return int(names.size());
}
