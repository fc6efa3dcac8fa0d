// Times vollo_load_pixelarray (pixel array included) on 1050 x 800 pictures of every kind,
// beside the 24-bit BMP of the same picture and Pillow's decode of each file, in the same
// run. The files are written by ImageMagick, except the kinds it does not write (RLE4,
// 10-10-10-2 bit fields), which are assembled here.
#include <SFML/Graphics.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "vollo.h"
#include "xvfb.hpp"

namespace
{

using Clock = std::chrono::steady_clock;
const int width = 1050, height = 800;

// Processor time of this thread, in milliseconds: on a shared machine, the wall clock
// also counts the time other programs hold the processor.
double thread_milliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Smooth gradients with a little noise and a few flat areas, as a drawing has.
void colour_at(int x, int y, uint8_t rgb[3])
{
    uint32_t noise = (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) >> 28;
    bool flat = (x / 150 + y / 100) % 3 == 0;
    rgb[0] = uint8_t(flat ? 240 : (x * 255 / width + noise) & 0xFF);
    rgb[1] = uint8_t(flat ? 240 : (y * 255 / height) & 0xFF);
    rgb[2] = uint8_t(flat ? 32 : ((x + y) / 8 + noise) & 0xFF);
}

void put(std::string &out, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

// File and info headers of a 40-byte-header BMP (56 bytes with masks), followed by `extra`.
std::string bmp_head(uint32_t info_size, uint16_t bits, uint32_t compression, const std::string &extra,
                     size_t data_size)
{
    std::string out = "BM";
    uint32_t offset = 14 + info_size + uint32_t(extra.size());
    put(out, offset + uint32_t(data_size), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, info_size, 4);
    put(out, width, 4);
    put(out, height, 4);
    put(out, 1, 2);
    put(out, bits, 2);
    put(out, compression, 4);
    put(out, uint32_t(data_size), 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, bits <= 8 ? 16 : 0, 4);
    put(out, 0, 4);
    out.resize(14 + info_size, '\0');
    return out + extra;
}

// RLE4 over 16 grey levels: runs of equal index pairs, end of line codes, end of picture.
std::string rle4_file()
{
    std::string palette, data;
    for (int i = 0; i < 16; i++)
        put(palette, uint32_t(i * 17) * 0x010101u, 4);
    for (int row = height - 1; row >= 0; row--)
    {
        for (int x = 0; x < width;)
        {
            uint8_t rgb[3];
            colour_at(x, row, rgb);
            int count = std::min(width - x, 40 + (row % 7) * 10);
            data.push_back(char(count));
            data.push_back(char((rgb[0] >> 4) * 0x11));
            x += count;
        }
        data.append("\0\0", 2);
    }
    data.append("\0\1", 2);
    return bmp_head(40, 4, 2, palette, data.size()) + data;
}

// 32-bit 10-10-10-2 bit fields (V3 header with an alpha mask), every pixel opaque.
std::string fields_1010102_file()
{
    std::string data;
    for (int row = height - 1; row >= 0; row--)
        for (int x = 0; x < width; x++)
        {
            uint8_t rgb[3];
            colour_at(x, row, rgb);
            put(data, 0xC0000000u | uint32_t(rgb[0]) << 22 | uint32_t(rgb[1]) << 12 | uint32_t(rgb[2]) << 2, 4);
        }
    std::string masks;
    put(masks, 0x3FF00000, 4);
    put(masks, 0x000FFC00, 4);
    put(masks, 0x000003FF, 4);
    put(masks, 0xC0000000, 4);
    std::string head = bmp_head(56, 32, 3, "", data.size());
    head.replace(54, 16, masks);
    return head + data;
}

bool write(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return bool(out);
}

struct Kind
{
    const char *name;
    std::vector<std::string> arguments;  // ImageMagick's, between source and output; empty: made here
    const char *file;
};

}  // namespace

int main()
{
    if (getenv("DISPLAY") == nullptr && vollo_test::start_xvfb().empty())
        return 1;
    sf::Context context;  // kept for the run, as the program's window keeps one
    set_max_heap_size(64);  // room for the pixel array and its neighbours
    const char *tmp = getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr ? tmp : "/tmp") + "/bench_image_XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr)
        return 1;

    std::string source = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            uint8_t rgb[3];
            colour_at(x, y, rgb);
            source.append(reinterpret_cast<char *>(rgb), 3);
        }
    const std::string ppm = folder + "/source.ppm";
    if (!write(ppm, source) || !write(folder + "/rle4.bmp", rle4_file()) ||
        !write(folder + "/fields1010102.bmp", fields_1010102_file()))
        return 1;

    const std::vector<Kind> kinds = {
        {"24-bit BMP3 (baseline)", {"bmp3:"}, "bmp24.bmp"},
        {"24-bit, 124-byte header", {""}, "bmp24v5.bmp"},
        {"24-bit OS/2 header", {"bmp2:"}, "os2.bmp"},
        {"32-bit bit fields + alpha", {"-alpha", "set", "-channel", "A", "-fx", "0.5", "+channel", ""}, "alpha32.bmp"},
        {"16-bit RGB565", {"-define", "bmp:subtype=RGB565", ""}, "rgb565.bmp"},
        {"16-bit RGB555", {"-define", "bmp:subtype=RGB555", ""}, "rgb555.bmp"},
        {"16-bit ARGB4444", {"-alpha", "set", "-define", "bmp:subtype=ARGB4444", ""}, "argb4444.bmp"},
        {"8-bit palette", {"-colors", "256", "-type", "Palette", "-compress", "None", ""}, "palette8.bmp"},
        {"8-bit RLE8", {"-colors", "256", "-type", "Palette", "-compress", "RLE", "bmp3:"}, "rle8.bmp"},
        {"4-bit palette", {"-colors", "16", "-type", "Palette", "-compress", "None", ""}, "palette4.bmp"},
        {"1-bit", {"-monochrome", ""}, "mono.bmp"},
        {"4-bit RLE4 (made here)", {}, "rle4.bmp"},
        {"32-bit 10-10-10-2 (made here)", {}, "fields1010102.bmp"},
        {"PNG", {""}, "picture.png"},
        {"JPEG", {"-quality", "90", ""}, "picture.jpg"},
        {"GIF", {""}, "picture.gif"},
    };
    std::vector<std::string> paths;
    for (const Kind &kind : kinds)
    {
        std::string path = folder + "/" + kind.file;
        paths.push_back(path);
        if (kind.arguments.empty())
            continue;
        std::vector<std::string> command = {"/usr/bin/convert", ppm};
        command.insert(command.end(), kind.arguments.begin(), kind.arguments.end() - 1);
        command.push_back(kind.arguments.back() + path);
        if (!vollo_test::run_command(command, "", std::chrono::milliseconds(120000)).succeeded())
        {
            fprintf(stderr, "bench_image: ImageMagick could not write %s\n", kind.file);
            return 1;
        }
    }

    std::vector<std::string> pillow_command = {"/usr/bin/python3", PILLOW_TIMER};
    pillow_command.insert(pillow_command.end(), paths.begin(), paths.end());
    vollo_test::CommandResult pillow = vollo_test::run_command(pillow_command, "", std::chrono::milliseconds(300000));
    std::istringstream pillow_times(pillow.output);

    const int runs = 15;
    double baseline = 0;
    printf("Decoding 1050 x 800 pictures with vollo_load_pixelarray (new pixel array included),\n"
           "median of %d runs; Pillow's decode of the same file into RGBA, median of 15 runs:\n", runs);
    printf("  %-32s %9s %9s %8s %12s\n", "kind", "wall ms", "cpu ms", "x 24-bit", "Pillow ms");
    for (size_t k = 0; k < kinds.size(); k++)
    {
        std::vector<double> times, cpu_times;
        for (int i = 0; i < runs; i++)
        {
            Clock::time_point start = Clock::now();
            double cpu_start = thread_milliseconds();
            vollo_pixelarray *pixels = vollo_load_pixelarray(paths[k].c_str());
            cpu_times.push_back(thread_milliseconds() - cpu_start);
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (pixels == nullptr)
            {
                fprintf(stderr, "bench_image: %s: %s\n", kinds[k].file, vollo_load_pixelarray_error());
                return 1;
            }
            vollo_delete_clipable(pixels);
        }
        double time = median(times), cpu_time = median(cpu_times);
        if (k == 0)
            baseline = time;
        std::string pillow_time = "n/a";
        pillow_times >> pillow_time;
        printf("  %-32s %9.2f %9.2f %8.2f %12s\n", kinds[k].name, time, cpu_time, time / baseline,
               pillow_time.c_str());
    }
    printf("  (target: every BMP kind under 10 ms)\n");
    for (const std::string &path : paths)
        unlink(path.c_str());
    unlink(ppm.c_str());
    rmdir(folder.c_str());
    return 0;
}
