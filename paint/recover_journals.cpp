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

bool ends_with(const std::string &name, const std::string &end)
{
    return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

// The journals in `folder`, after removing what journals of ended sessions left: a copy
// of a picture whose journal is gone, a journal being trimmed when its session died.
std::vector<std::string> journals_in(const std::string &folder)
{
    std::vector<std::string> paths, leftovers;
    if (DIR *dir = opendir(folder.c_str()))
    {
        while (dirent *entry = readdir(dir))
        {
            const std::string name = entry->d_name;
            if (name.compare(0, strlen(JOURNAL_PREFIX), JOURNAL_PREFIX) != 0)
                continue;
            if (ends_with(name, ".journal"))
                paths.push_back(folder + "/" + name);
            else if (ends_with(name, ".journal.picture") || ends_with(name, ".journal.new"))
                leftovers.push_back(folder + "/" + name);
        }
        closedir(dir);
    }
    for (const std::string &leftover : leftovers)
    {
        const std::string journal = leftover.substr(0, leftover.rfind('.'));
        const int fd = ends_with(leftover, ".new") ? open(leftover.c_str(), O_RDONLY | O_CLOEXEC) : -1;
        const bool stale = ends_with(leftover, ".new") ? fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0
                                                       : access(journal.c_str(), F_OK) != 0;
        if (stale)
            unlink(leftover.c_str());
        if (fd >= 0)
            close(fd);
    }
    return paths;
}

// Moves a journal that cannot be recovered, with its copy of the picture, to a name no
// later start looks at, and says so once.
void set_aside(const std::string &path, const std::string &why)
{
    const std::string aside = path.substr(0, path.size() - strlen(".journal")) + ".set-aside";
    const bool moved = rename(path.c_str(), aside.c_str()) == 0;
    rename(journal_picture_of(path).c_str(), (aside + ".picture").c_str());
    fprintf(stderr, "pixodraw: the journal of an earlier session cannot be recovered (%s); it is kept as %s\n",
            why.c_str(), moved ? aside.c_str() : path.c_str());
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
    struct stat about;
    // An empty file: its session ended before its header was written.
    const bool empty = fstat(fd, &about) == 0 && about.st_size == 0;
    if (!rebuilt && empty)
        unlink(path.c_str());
    else if (!rebuilt)
        set_aside(path, reason);
    else if (changes > 0 && (kept = keep(folder, base, pixels)).empty())
        set_aside(path, std::string("its drawing could not be kept: ") + strerror(errno));
    else
    {
        if (changes > 0)
            fprintf(stderr, "pixodraw: an earlier session ended without saving; its drawing is kept in %s\n",
                    kept.c_str());
        unlink(path.c_str());
        unlink(journal_picture_of(path).c_str());
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
