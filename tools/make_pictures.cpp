// Draws the two interface pictures of PIXODRAW and writes them as 24-bit BMP files:
//   degrade.bmp        212 x 123  colour palette: hues across, light to dark downwards,
//                                 and a strip of greys from white to black on the right
//   potdepeinture.bmp   62 x 105  a paint pot with a handle and paint running down it
// Usage: make_pictures [folder]   (default: img)
// Not run by the build: the pictures are kept in the repository.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "bmp.h"

namespace
{

struct Colour
{
    double red, green, blue;  // 0 to 1
};

uint32_t to_pixel(Colour c)
{
    auto channel = [](double v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return 0xFF000000u | channel(c.red) | (channel(c.green) << 8) | (channel(c.blue) << 16);
}

Colour mix(Colour a, Colour b, double t)
{
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t};
}

// Fully saturated colour of a hue in degrees.
Colour hue_colour(double hue)
{
    double h = std::fmod(hue, 360.0) / 60.0;
    double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    switch (static_cast<int>(h))
    {
    case 0: return {1, x, 0};
    case 1: return {x, 1, 0};
    case 2: return {0, 1, x};
    case 3: return {0, x, 1};
    case 4: return {x, 0, 1};
    default: return {1, 0, x};
    }
}

bool write_picture(const std::string &path, const std::vector<uint32_t> &pixels, uint32_t width,
                   uint32_t height)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
    {
        fprintf(stderr, "make_pictures: cannot create %s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    bmp_header header;
    set_header(&header, width, height);
    bool ok = write_image(pixels.data(), fd, &header);
    int error = errno;
    if (close(fd) != 0 && ok)
    {
        ok = false;
        error = errno;
    }
    if (!ok)
        fprintf(stderr, "make_pictures: cannot write %s: %s\n", path.c_str(), strerror(error));
    return ok;
}

// Palette. Columns 0-189: the hue circle from red back to red. Each column runs from a
// pale tint at the top through the pure hue in the middle rows to a deep shade at the
// bottom. Columns 190-191: white. Columns 192-211: greys from white (top) to black.
std::vector<uint32_t> palette(uint32_t width, uint32_t height)
{
    const uint32_t hue_columns = 190, grey_start = 192;
    std::vector<uint32_t> pixels(width * height);
    const Colour white = {1, 1, 1}, black = {0, 0, 0};
    for (uint32_t y = 0; y < height; y++)
    {
        double t = static_cast<double>(y) / (height - 1);  // 0 top, 1 bottom
        for (uint32_t x = 0; x < width; x++)
        {
            Colour c;
            if (x < hue_columns)
            {
                Colour pure = hue_colour(360.0 * x / hue_columns);
                // Tint from 88% white down to the pure hue at mid height, then shade
                // down to 88% black.
                c = t < 0.5 ? mix(white, pure, 0.12 + 0.88 * t / 0.5)
                            : mix(pure, black, 0.88 * (t - 0.5) / 0.5);
            }
            else if (x < grey_start)
                c = white;
            else
                c = mix(white, black, t);
            pixels[y * width + x] = to_pixel(c);
        }
    }
    return pixels;
}

// Paint pot, drawn as shapes in pixel coordinates and smoothed by 4 x 4 samples a pixel.
Colour pot_sample(double x, double y)
{
    const Colour white = {1, 1, 1}, outline = {0.16, 0.17, 0.2};
    const Colour paint = {0.1, 0.42, 0.92}, paint_light = {0.45, 0.7, 1.0};
    const double cx = 31.0;               // axis of the pot
    const double rim_y = 44.0, rim_rx = 23.0, rim_ry = 6.5;
    const double base_y = 97.0, base_rx = 17.5, base_ry = 4.5;

    auto in_ellipse = [](double px, double py, double ex, double ey, double rx, double ry) {
        double dx = (px - ex) / rx, dy = (py - ey) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    // Half width of the body at height y, between the rim and the base.
    auto body_half = [&](double py) { return rim_rx + (base_rx - rim_rx) * (py - rim_y) / (base_y - rim_y); };

    // Handle: the upper half of an elliptic ring above the rim.
    {
        double dx = (x - cx) / 21.0, dy = (y - rim_y) / 34.0;
        double r = std::sqrt(dx * dx + dy * dy);
        if (y <= rim_y && r >= 0.93 && r <= 1.0)
            return outline;
    }
    // Inside of the rim: the paint surface, with a lighter glint.
    if (in_ellipse(x, y, cx, rim_y, rim_rx - 1.6, rim_ry - 1.4))
        return in_ellipse(x, y, cx - 6, rim_y - 1.5, 6.0, 1.6) ? paint_light : paint;
    if (in_ellipse(x, y, cx, rim_y, rim_rx, rim_ry))
        return outline;

    // Body between the rim and the base, with the base's curve at the bottom.
    bool in_body = y >= rim_y && y <= base_y && std::fabs(x - cx) <= body_half(y);
    bool in_base = in_ellipse(x, y, cx, base_y, base_rx, base_ry);
    if (in_body || in_base)
    {
        double half = y <= base_y ? body_half(y) : base_rx;
        double edge = half - std::fabs(x - cx);
        bool bottom_edge = y > base_y && !in_ellipse(x, y, cx, base_y, base_rx - 1.4, base_ry - 1.4);
        if (edge < 1.4 || bottom_edge)
            return outline;
        // Paint running down from the rim: three drips with round ends.
        const double drips[][3] = {{18.0, 62.0, 2.6}, {29.0, 74.0, 3.0}, {41.5, 58.0, 2.4}};
        for (const auto &drip : drips)
        {
            double dx = x - drip[0];
            if ((std::fabs(dx) <= drip[2] && y <= drip[1]) ||
                in_ellipse(x, y, drip[0], drip[1], drip[2], drip[2]))
                return std::fabs(dx + drip[2] * 0.4) < drip[2] * 0.3 ? paint_light : paint;
        }
        // A band of paint below the rim, the drips' source.
        if (y <= rim_y + rim_ry + 3.0)
            return paint;
        // Metal shaded from light on the left to dark on the right.
        double across = (x - (cx - half)) / (2 * half);  // 0 left, 1 right
        Colour light = {0.86, 0.88, 0.9}, dark = {0.45, 0.47, 0.52};
        Colour metal = mix(light, dark, across * across);
        if (std::fabs(across - 0.22) < 0.05)
            metal = mix(metal, white, 0.6);  // highlight
        return metal;
    }
    return white;
}

std::vector<uint32_t> paint_pot(uint32_t width, uint32_t height)
{
    std::vector<uint32_t> pixels(width * height);
    const int samples = 4;
    for (uint32_t y = 0; y < height; y++)
        for (uint32_t x = 0; x < width; x++)
        {
            Colour sum = {0, 0, 0};
            for (int sy = 0; sy < samples; sy++)
                for (int sx = 0; sx < samples; sx++)
                {
                    Colour c = pot_sample(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    sum = {sum.red + c.red, sum.green + c.green, sum.blue + c.blue};
                }
            double n = samples * samples;
            pixels[y * width + x] = to_pixel({sum.red / n, sum.green / n, sum.blue / n});
        }
    return pixels;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string folder = argc > 1 ? argv[1] : "img";
    bool ok = write_picture(folder + "/degrade.bmp", palette(212, 123), 212, 123);
    ok = write_picture(folder + "/potdepeinture.bmp", paint_pot(62, 105), 62, 105) && ok;
    return ok ? 0 : 1;
}
