// Box, bilinear and nearest resampling. The box filter runs row by row: the source rows
// a target row covers are summed with their weights into one line of sums, which is then
// summed across, so only one line of sums is ever held whatever the sizes.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "scale.hpp"

namespace vollo_image
{
namespace
{

// One source pixel's share of a target pixel, along one axis.
struct share
{
    uint32_t index;
    double weight;
};

// For each of `count` target pixels, the source pixels of `source` it covers and how much.
std::vector<std::vector<share>> shares(uint32_t source, uint32_t count)
{
    std::vector<std::vector<share>> all(count);
    const double step = double(source) / count;
    for (uint32_t i = 0; i < count; ++i)
    {
        const double from = i * step, to = std::min(double(source), (i + 1) * step);
        for (uint32_t j = uint32_t(from); j < source && j < to; ++j)
            all[i].push_back({j, std::min(to, j + 1.0) - std::max(from, double(j))});
    }
    return all;
}

uint32_t channel(uint32_t pixel, int c)
{
    return (pixel >> (8 * c)) & 0xFF;
}

// Sums (alpha-weighted colour, alpha) into four values per pixel.
void add_pixel(double *sum, uint32_t pixel, double weight)
{
    const double a = channel(pixel, 3) * weight;
    for (int c = 0; c < 3; ++c)
        sum[c] += channel(pixel, c) * a;
    sum[3] += a;
}

uint32_t pixel_of(const double *sum, double area)
{
    uint32_t out = uint32_t(std::lround(std::min(255.0, sum[3] / area))) << 24;
    for (int c = 0; c < 3 && sum[3] > 0; ++c)
        out |= uint32_t(std::lround(std::min(255.0, sum[c] / sum[3]))) << (8 * c);
    return out;
}

void box(const uint32_t *source, uint32_t sw, uint32_t sh, uint32_t stride, uint32_t *target,
         uint32_t width, uint32_t height)
{
    const std::vector<std::vector<share>> across = shares(sw, width), down = shares(sh, height);
    std::vector<double> line(size_t(sw) * 4);
    for (uint32_t y = 0; y < height; ++y)
    {
        std::fill(line.begin(), line.end(), 0.0);
        double tall = 0;
        for (const share &row : down[y])
        {
            const uint32_t *pixels = source + size_t(row.index) * stride;
            for (uint32_t x = 0; x < sw; ++x)
                add_pixel(&line[size_t(x) * 4], pixels[x], row.weight);
            tall += row.weight;
        }
        for (uint32_t x = 0; x < width; ++x)
        {
            double sum[4] = {0, 0, 0, 0}, wide = 0;
            for (const share &column : across[x])
            {
                for (int c = 0; c < 4; ++c)
                    sum[c] += line[size_t(column.index) * 4 + c] * column.weight;
                wide += column.weight;
            }
            target[size_t(y) * width + x] = pixel_of(sum, wide * tall);
        }
    }
}

// The source coordinate under the centre of target pixel i.
double centre(uint32_t i, uint32_t source, uint32_t count)
{
    return (i + 0.5) * source / count - 0.5;
}

uint32_t mix(uint32_t a, uint32_t b, double t)
{
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c)
        out |= uint32_t(std::lround(channel(a, c) + (double(channel(b, c)) - channel(a, c)) * t)) << (8 * c);
    return out;
}

void bilinear(const uint32_t *source, uint32_t sw, uint32_t sh, uint32_t stride, uint32_t *target,
              uint32_t width, uint32_t height)
{
    for (uint32_t y = 0; y < height; ++y)
    {
        const double fy = std::clamp(centre(y, sh, height), 0.0, double(sh - 1));
        const uint32_t y0 = uint32_t(fy), y1 = std::min(y0 + 1, sh - 1);
        for (uint32_t x = 0; x < width; ++x)
        {
            const double fx = std::clamp(centre(x, sw, width), 0.0, double(sw - 1));
            const uint32_t x0 = uint32_t(fx), x1 = std::min(x0 + 1, sw - 1);
            const uint32_t *top = source + size_t(y0) * stride, *bottom = source + size_t(y1) * stride;
            target[size_t(y) * width + x] =
                mix(mix(top[x0], top[x1], fx - x0), mix(bottom[x0], bottom[x1], fx - x0), fy - y0);
        }
    }
}

void nearest(const uint32_t *source, uint32_t sw, uint32_t sh, uint32_t stride, uint32_t *target,
             uint32_t width, uint32_t height)
{
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint32_t *row = source + size_t(uint64_t(y) * sh / height) * stride;
        for (uint32_t x = 0; x < width; ++x)
            target[size_t(y) * width + x] = row[uint64_t(x) * sw / width];
    }
}

}  // namespace

bool scale_pixels(const uint32_t *source, uint32_t source_width, uint32_t source_height,
                  uint32_t source_stride, uint32_t *target, uint32_t width, uint32_t height,
                  vollo_filter filter)
{
    try
    {
        if (filter == VOLLO_FILTER_NEAREST)
            nearest(source, source_width, source_height, source_stride, target, width, height);
        else if (filter == VOLLO_FILTER_BILINEAR)
            bilinear(source, source_width, source_height, source_stride, target, width, height);
        else
            box(source, source_width, source_height, source_stride, target, width, height);
        return true;
    }
    catch (const std::bad_alloc &)
    {
        return false;
    }
}

void fit_size(uint32_t width, uint32_t height, uint32_t max_width, uint32_t max_height,
              uint32_t *fit_width, uint32_t *fit_height)
{
    const double scale =
        std::min({1.0, double(max_width) / std::max(width, 1u), double(max_height) / std::max(height, 1u)});
    *fit_width = std::clamp(uint32_t(std::lround(width * scale)), 1u, std::max(1u, std::min(width, max_width)));
    *fit_height =
        std::clamp(uint32_t(std::lround(height * scale)), 1u, std::max(1u, std::min(height, max_height)));
}

}  // namespace vollo_image
