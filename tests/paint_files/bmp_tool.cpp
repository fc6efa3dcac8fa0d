// Bridge between the BMP code and the Pillow tests:
//   bmp_tool save WIDTH HEIGHT PATH   reads WIDTH * HEIGHT pixels (bytes R, G, B, A) from
//                                      standard input into a canvas and saves it with save_bmp
//   bmp_tool load PATH                 loads with load_bmp and writes "WIDTH HEIGHT\n" and
//                                      the pixels (bytes R, G, B, A) to standard output
//   bmp_tool picture PATH              the same through vollo_load_pixelarray (any format)
// Exit status 1, with the reason on standard error, when the save or the load fails.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bmp.h"

namespace
{

int save(uint32_t width, uint32_t height, const char *path)
{
    std::vector<uint32_t> input(static_cast<size_t>(width) * height);
    if (fread(input.data(), 4, input.size(), stdin) != input.size())
    {
        fprintf(stderr, "bmp_tool: %u x %u pixels expected on standard input\n", width, height);
        return 2;
    }
    vollo_pixelarray *canvas = vollo_new_pixelarray(width, height);
    if (canvas == nullptr)
    {
        fprintf(stderr, "bmp_tool: no pixel array\n");
        return 2;
    }
    memcpy(canvas->pixels, input.data(), input.size() * 4);
    bool saved = save_bmp(canvas, path);
    int error = errno;
    vollo_delete_clipable(canvas);
    if (!saved)
    {
        fprintf(stderr, "bmp_tool: %s: %s\n", path, strerror(error));
        return 1;
    }
    return 0;
}

int load(const char *path, bool any_format)
{
    const char *reason = nullptr;
    vollo_pixelarray *pixels = nullptr;
    if (any_format)
    {
        pixels = vollo_load_pixelarray(path);
        reason = vollo_load_pixelarray_error();
    }
    else
        pixels = load_bmp_reason(path, &reason);
    if (pixels == nullptr)
    {
        fprintf(stderr, "bmp_tool: %s: %s\n", path, reason);
        return 1;
    }
    printf("%u %u\n", pixels->width, pixels->height);
    fwrite(pixels->pixels, 4, static_cast<size_t>(pixels->width) * pixels->height, stdout);
    vollo_delete_clipable(pixels);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::string(argv[1]) == "save")
        return save(static_cast<uint32_t>(atoi(argv[2])), static_cast<uint32_t>(atoi(argv[3])), argv[4]);
    if (argc == 3 && std::string(argv[1]) == "load")
        return load(argv[2], false);
    if (argc == 3 && std::string(argv[1]) == "picture")
        return load(argv[2], true);
    fprintf(stderr, "usage: bmp_tool save WIDTH HEIGHT PATH | bmp_tool load|picture PATH\n");
    return 2;
}
