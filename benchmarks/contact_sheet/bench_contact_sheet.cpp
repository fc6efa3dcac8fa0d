// Thumbnails against whole decodes. 19 photos of several sizes (up to 24 megapixels) are
// written by ImageMagick into a temporary folder; the contact_sheet example makes its
// sheet from them both ways, each in a process of its own so that its peak memory is its
// own. Then one 24-megapixel JPEG is decoded both ways in this process: time, and the
// memory each way adds at its peak.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "vollo.h"

namespace
{

struct run
{
    double seconds;
    double peak_mib;
};

bool shell(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

// 19 photos: landscape and portrait, from VGA to 24 megapixels, a few colour casts.
std::vector<std::string> make_photos(const std::string &folder)
{
    const char *sizes[] = {"6000x4000", "4000x6000", "4352x2448", "5472x3648", "4000x3000", "3000x4000",
                           "3264x2448", "2448x3264", "4032x3024", "3840x2160", "2560x1440", "1920x1080",
                           "1080x1920", "1600x1200", "1280x720",  "1024x768",  "800x600",   "640x480",
                           "6000x4000"};
    const char *casts[] = {"100,100,100", "110,80,100", "90,120,100", "100,100,140"};
    std::vector<std::string> photos;
    if (!shell("convert -size 1500x1000 -seed 7 plasma:fractal +noise Gaussian -attenuate 0.5 " + folder + "/base.png"))
        return photos;
    for (int i = 0; i < 19; ++i)
    {
        const std::string path = folder + "/photo_" + std::to_string(i + 1) + "_" + sizes[i] +
                                 (i == 18 ? "_with_a_rather_long_name_from_a_camera_roll" : "") + ".jpg";
        if (!shell("convert " + folder + "/base.png -modulate " + casts[i % 4] + " -resize " + sizes[i] +
                   "! -quality 90 " + path))
            return {};
        photos.push_back(path);
    }
    return photos;
}

// Runs the example as a child: its wall time and its peak resident memory.
run sheet(const std::vector<std::string> &photos, const std::string &out, bool full)
{
    std::vector<const char *> argv = {CONTACT_SHEET};
    if (full)
        argv.push_back("--full");
    argv.push_back(out.c_str());
    for (const std::string &photo : photos)
        argv.push_back(photo.c_str());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
    {
        execv(argv[0], const_cast<char *const *>(argv.data()));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::printf("contact_sheet%s failed (status %d)\n", full ? " --full" : "", status);
    return {seconds, usage.ru_maxrss / 1024.0};
}

long status_kib(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + line.find(':') + 1);
    return 0;
}

// Time and added peak memory of one decode; the peak counter is reset before it.
run decode(const char *path, bool scaled)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = status_kib("VmRSS");
    timespec start, end;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    uint32_t width = 0, height = 0;
    uint32_t *pixels = scaled ? vollo_decode_picture_scaled(path, 200, 200, &width, &height)
                              : vollo_decode_picture(path, &width, &height);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    const long peak = status_kib("VmHWM");
    if (!pixels)
        std::printf("decode failed: %s\n", vollo_error());
    std::free(pixels);
    return {double(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9,
            std::max(0L, peak - before) / 1024.0};
}

run best_of(const char *path, bool scaled)
{
    run best = decode(path, scaled);
    for (int i = 0; i < 4; ++i)
    {
        const run next = decode(path, scaled);
        best.seconds = std::min(best.seconds, next.seconds);
        best.peak_mib = std::min(best.peak_mib, next.peak_mib);
    }
    return best;
}

}  // namespace

int main()
{
    char folder[] = "/tmp/bench_contact_sheet.XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::vector<std::string> photos = make_photos(folder);
    if (photos.size() != 19)
    {
        std::printf("cannot write the photos (ImageMagick's convert is needed)\n");
        shell(std::string("rm -rf ") + folder);
        return 1;
    }
    const run small = sheet(photos, std::string(folder) + "/sheet.png", false);
    const run whole = sheet(photos, std::string(folder) + "/sheet_full.png", true);
    std::printf("contact sheet of 19 photos, thumbnails decoded small: %.2f s, peak %.1f MiB\n", small.seconds,
                small.peak_mib);
    std::printf("contact sheet of 19 photos, photos decoded whole:     %.2f s, peak %.1f MiB\n", whole.seconds,
                whole.peak_mib);
    std::printf("  %.1fx faster, %.2f of the peak memory\n", whole.seconds / small.seconds,
                small.peak_mib / whole.peak_mib);

    // The same photo written progressive, as many web pictures are, and as most phones
    // and cameras write it: baseline, quality 92, chroma halved both ways (4:2:0).
    const std::string progressive = std::string(folder) + "/progressive_6000x4000.jpg";
    const std::string camera = std::string(folder) + "/camera_6000x4000.jpg";
    if (!shell("convert " + photos[0] + " -interlace Plane -quality 90 " + progressive) ||
        !shell("/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2], "
               "quality=92, subsampling=2)' " + photos[0] + " " + camera))
        return 1;
    for (const std::string &photo : {photos[0], progressive, camera})
    {
        const char *kind = photo == progressive ? "progressive" : photo == camera ? "camera 4:2:0" : "baseline";
        const run scaled = best_of(photo.c_str(), true), full = best_of(photo.c_str(), false);
        std::printf("24-megapixel %s JPEG to fit 200 x 200: %.1f ms, adds %.1f MiB at its peak\n", kind,
                    scaled.seconds * 1e3, scaled.peak_mib);
        std::printf("24-megapixel %s JPEG decoded whole:    %.1f ms, adds %.1f MiB at its peak\n", kind,
                    full.seconds * 1e3, full.peak_mib);
        const double speed = full.seconds / scaled.seconds,
                     memory = scaled.peak_mib / std::max(full.peak_mib, 0.001);
        std::printf("  %.1fx faster (target: at least 4x), %.3f of the peak memory (target: under 0.2): %s\n", speed,
                    memory, speed >= 4 && memory < 0.2 ? "met" : "NOT MET");
    }
    shell(std::string("rm -rf ") + folder);
    return 0;
}
