// The last resort for a drawing that the dialogue did not save: a numbered file in the
// working directory, or, when that cannot be written (removed, read-only, full), in the
// home folder or the temporary folder.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "bmp.h"
#include "document.h"
#include "state.h"
#include "terminal.h"

std::vector<std::string> recovery_folders(void)
{
    std::vector<std::string> folders;
    if (char *working = getcwd(nullptr, 0))
    {
        folders.push_back(working);
        free(working);
    }
    else
        folders.push_back(".");
    const char *home = getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        folders.push_back(home);
    const char *temporary = getenv("TMPDIR");
    folders.push_back(temporary != nullptr && temporary[0] != '\0' ? temporary : "/tmp");
    return folders;
}

bool save_recovery(paint_state *state)
{
    if (state == nullptr || state->canvas == nullptr)
        return false;
    for (const std::string &folder : recovery_folders())
    {
        char *path = save_bmp_numbered(drawing_of(state), folder.c_str(), time(nullptr));
        if (path != nullptr)
        {
            fprintf(stderr, "pixodraw: the drawing was not saved; it is kept in %s\n", path);
            free(path);
            state->saved_changes = state->changes;
            return true;
        }
        fprintf(stderr, "pixodraw: the drawing could not be kept in %s: %s\n", folder.c_str(),
                strerror(errno));
    }
    fprintf(stderr, "pixodraw: the drawing is lost\n");
    return false;
}
