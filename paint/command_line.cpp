// The command line: one optional picture, and the options --help, -h and --version.
#include <cstdio>
#include <cstring>

#include "interface.h"
#include "terminal.h"

#ifndef PIXODRAW_VERSION
#define PIXODRAW_VERSION "unknown"
#endif

namespace
{

const char usage_head[] =
    "Usage: pixodraw [PICTURE]\n"
    "       pixodraw --new WIDTHxHEIGHT   a white picture of that size\n"
    "       pixodraw --clipboard          the picture on the clipboard\n"
    "       pixodraw --help | --version\n"
    "\n"
    "A paint program. With PICTURE (BMP of any kind, PNG, JPEG, GIF, TGA, PSD, HDR\n"
    "or PIC): one of 1050 x 800 is the whole canvas; any other opens as a document,\n"
    "shown through a view beside the tool band. Without it, a blank canvas.\n"
    "--clipboard opens the picture on the clipboard as a document; Ctrl+S writes\n"
    "it to clipboard-YYYYMMDD-HHMMSS.png in the working directory.\n"
    "\n"
    "Mouse (left button):\n"
    "  press on a tool        square brush, circle, eraser, paint pot (fill)\n"
    "  press on the palette   take the colour under the pointer\n"
    "  release on - or +      smaller or larger tools (0 to 150 pixels)\n"
    "  click in the drawing   stamp the tool there (the pot fills); drag for a stroke\n"
    "  press on the door      end the session\n"
    "  press on a panel cell  the tool of the cell (left of the drawing)\n"
    "  wheel on - or +        smaller or larger tools\n"
    "\n"
    "Tools (a plain letter chooses one):\n";

const char usage_keys[] =
    "\n"
    "Keys:\n"
    "  [ and ]                smaller or larger tools, as - and +\n"
    "  Escape                 end the session (while typing text, with a selection or\n"
    "                         a paste: drop it)\n"
    "  Ctrl+Z                 undo the last action\n"
    "  Ctrl+Y, Ctrl+Shift+Z   redo it\n"
    "  Ctrl+S                 save now and go on drawing (a document: into its file)\n"
    "  Ctrl+0, Ctrl+1         a document at fit, at 100 %\n"
    "  Ctrl+plus, Ctrl+minus  zoom in, out (also Ctrl+wheel, about the pointer)\n"
    "  arrows, wheel, Home    scroll (Shift+wheel sideways; middle button drags)\n"
    "  Ctrl+E                 export the drawing alone as PNG (a document: all of it)\n"
    "  Ctrl+V                 paste the clipboard's picture at the view's top-left corner;\n"
    "                         drag it, then Enter, a click outside or a tool lands it\n"
    "\n"
    "Files:\n"
    "  Ctrl+S saves pixodraw-YYYYMMDD-HHMMSS.bmp (then -2, -3, ...) in the working\n"
    "  directory. At the end the terminal asks \"Save work ? [yes/no]\": yes and a\n"
    "  NAME save NAME.bmp. A changed drawing that the dialogue did not save because\n"
    "  its input ended (no terminal) is kept in a file named as by Ctrl+S, in the\n"
    "  working directory (else $HOME, else the temporary folder). Standard error\n"
    "  tells where every file went.\n";

}  // namespace

int read_command_line(int argc, char **argv, const char **picture, int *operand_count)
{
    bool options_ended = false;
    *picture = nullptr;
    *operand_count = 0;
    for (int i = 1; i < argc; i++)
    {
        const char *argument = argv[i];
        // "-" alone is a name, as it always was; "--" makes every later argument one.
        if (!options_ended && argument[0] == '-' && argument[1] != '\0')
        {
            if (strcmp(argument, "--") == 0)
                options_ended = true;
            else if (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0)
            {
                my_putstr((usage_head + tool_help() + usage_keys).c_str());
                return 0;
            }
            else if (strcmp(argument, "--clipboard") == 0)
                continue;  // read by command_line_has
            else if (strcmp(argument, "--version") == 0)
            {
                my_putstr("pixodraw " PIXODRAW_VERSION "\n");
                return 0;
            }
            else
            {
                fprintf(stderr, "pixodraw: unknown option '%s' (pixodraw --help lists them)\n",
                        argument);
                return 2;
            }
            continue;
        }
        if (*operand_count == 0)
            *picture = argument;
        ++*operand_count;
    }
    return -1;
}

bool command_line_has(int argc, char **argv, const char *option)
{
    for (int i = 1; i < argc && strcmp(argv[i], "--") != 0; i++)
        if (strcmp(argv[i], option) == 0)
            return true;
    return false;
}
