// At the start: the journals of sessions that died are rebuilt into recovery files.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bmp.h"
#include "journal.h"
#include "terminal.h"

namespace
{

std::vector<std::string> journals_in(const std::string &folder)
{
    std::vector<std::string> paths;
    if (DIR *dir = opendir(folder.c_str()))
    {
        while (dirent *entry = readdir(dir))
            if (strncmp(entry->d_name, JOURNAL_PREFIX, strlen(JOURNAL_PREFIX)) == 0)
                paths.push_back(folder + "/" + entry->d_name);
        closedir(dir);
    }
    return paths;
}

// Keeps the rebuilt pixels in a numbered file, first beside the journal; the path, or "".
std::string keep(const std::string &folder, const journal_base &base, std::vector<uint32_t> &pixels)
{
    vollo_pixelarray rebuilt{};
    rebuilt.type = VOLLO_PIXELARRAY;
    rebuilt.width = base.width;
    rebuilt.height = base.height;
    rebuilt.pixels = pixels.data();
    std::vector<std::string> folders = recovery_folders();
    folders.insert(folders.begin(), folder);
    for (const std::string &to : folders)
        if (char *path = save_bmp_numbered(&rebuilt, to.c_str(), time(nullptr)))
        {
            const std::string kept = path;
            free(path);
            return kept;
        }
    return std::string();
}

// The journal at `path`, when its session is over: true when a drawing was kept.
bool recover(const std::string &folder, const std::string &path)
{
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat held, named;
    // Locked: its session still runs. Another start may have taken it meanwhile.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0 ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev)
    {
        close(fd);
        return false;
    }
    journal_base base;
    std::vector<uint32_t> pixels;
    size_t changes = 0;
    std::string reason;
    std::string kept;
    const bool rebuilt = journal_rebuild(path.c_str(), &base, &pixels, &changes, &reason);
    // Cut before its first pixels were whole, a journal without a picture held nothing
    // drawn yet (its session had only started, or had just saved).
    if (!rebuilt && base.picture.empty())
        unlink(path.c_str());
    else if (!rebuilt)
        fprintf(stderr, "pixodraw: the journal %s of an earlier session cannot be rebuilt (%s); it is left there\n",
                path.c_str(), reason.c_str());
    else if (changes > 0 && (kept = keep(folder, base, pixels)).empty())
        fprintf(stderr, "pixodraw: the drawing of an earlier session could not be kept: %s; its journal %s is left there\n",
                strerror(errno), path.c_str());
    else
    {
        if (changes > 0)
            fprintf(stderr, "pixodraw: an earlier session ended without saving; its drawing is kept in %s\n",
                    kept.c_str());
        unlink(path.c_str());
    }
    close(fd);
    return !kept.empty();
}

}  // namespace

int recover_journals(void)
{
    int kept = 0;
    std::vector<std::string> seen;
    for (const std::string &folder : recovery_folders())
    {
        // $HOME may be the working directory too.
        char *real = realpath(folder.c_str(), nullptr);
        const std::string key = real != nullptr ? real : folder;
        free(real);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(key);
        for (const std::string &path : journals_in(folder))
            kept += recover(folder, path);
    }
    return kept;
}
