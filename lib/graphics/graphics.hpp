// Private helpers of the clipables, blit and drawing code: colour conversion,
// clip arithmetic, the staging path of pixel arrays and the software routines
// that draw on pixel arrays while no drawing hook is installed.
#ifndef VOLLO_GRAPHICS_HPP
#define VOLLO_GRAPHICS_HPP

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <SFML/Graphics.hpp>

#include "vollo.h"
#include "error/error.hpp"
#include "error/records.hpp"

namespace vollo_graphics
{

// A rectangle of whole pixels. Computed in 64 bits so that clip fields near the
// limits of 32 bits cannot overflow. Empty when width or height is 0.
struct region
{
    int64_t x;
    int64_t y;
    int64_t width;
    int64_t height;

    bool empty() const { return width <= 0 || height <= 0; }
};

// Colour value (R in bits 0-7 ... A in bits 24-31) as an SFML colour, and back.
inline sf::Color to_sf_color(uint32_t color)
{
    return sf::Color(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, (color >> 24) & 0xFF);
}

inline uint32_t from_sf_color(const sf::Color &color)
{
    return uint32_t(color.r) | uint32_t(color.g) << 8 | uint32_t(color.b) << 16 | uint32_t(color.a) << 24;
}

// The SFML target that draws into a window or a picture; null for any other buffer.
inline sf::RenderTarget *render_target_of(vollo_buffer *buffer)
{
    if (buffer->type == VOLLO_WINDOW)
        return static_cast<sf::RenderWindow *>(buffer->render_target);
    if (buffer->type == VOLLO_PICTURE)
        return static_cast<sf::RenderTexture *>(buffer->render_target);
    return nullptr;
}

// Runs build(context) with SIGABRT turned into a false result (SFML aborts when
// no display can be reached); true when build returned normally. Not re-entrant.
bool run_trapping_abort(void (*build)(void *), void *context);

// Silences SFML's error stream while alive: the library's creating functions
// report failure by a null result and print nothing.
class quiet_sfml_errors
{
public:
    quiet_sfml_errors() : saved(sf::err().rdbuf(nullptr)) {}
    ~quiet_sfml_errors() { sf::err().rdbuf(saved); }
    quiet_sfml_errors(const quiet_sfml_errors &) = delete;
    quiet_sfml_errors &operator=(const quiet_sfml_errors &) = delete;

private:
    std::streambuf *saved;
};

// Intersection of two rectangles (empty when they do not meet).
region intersect(const region &a, const region &b);
// The part of the clipable's clip rectangle that lies inside its width x height.
region clip_inside(const vollo_clipable *clipable);
// Where the source's clip region lands on a pixel array when clip pixel (clip_x, clip_y)
// goes to `position`, clipped to the destination; *shift_x and *shift_y receive the
// destination coordinate minus the source coordinate of every pixel moved.
region blit_target(const vollo_pixelarray *destination, const vollo_clipable *source,
                   vollo_position position, int64_t *shift_x, int64_t *shift_y);

// The GPU side of a pixel array, private to the library: made at the first blit
// onto a window or a picture, so that a pixel array alone needs no display.
struct pixelarray_staging
{
    sf::Texture texture;            // the area of the latest blit
    sf::Sprite sprite;
    std::vector<uint8_t> gathered;  // rows of an area narrower than the array, side by side
};

// The array's staging, made now when it has none; null, with vollo_error set, when
// it cannot be made (no display can be reached, or memory runs out).
pixelarray_staging *staging_of(vollo_pixelarray *array);
// Releases the array's staging, if any.
void delete_staging(vollo_pixelarray *array);
// Uploads `area` of the pixel block straight into the staging texture, which then
// holds exactly that area; it is re-created only when the area's size changes.
// False when nothing could be staged (no pixels, empty area, no staging, texture
// refused by the GPU).
bool stage_pixelarray(vollo_pixelarray *array, const region &area);

// A picture record owning a render texture of width x height (no depth buffer),
// with its placement fields at their initial values; null when an allocation or
// the render texture's creation fails, with nothing left allocated.
vollo_picture *new_picture_record(uint32_t width, uint32_t height);
// The sprite behind the picture's private pointer.
inline sf::Sprite &sprite_of(vollo_picture *picture)
{
    return *static_cast<sf::Sprite *>(picture->sprite);
}
// Points the record's texture and sprite at its render texture's texture.
void attach_texture(vollo_picture *picture);
// Replaces the whole picture with the whole array's pixels, alpha included, and makes
// them visible in its texture. Same sizes expected; false when nothing could be staged.
bool copy_pixels_to_picture(vollo_picture *picture, const vollo_pixelarray *array);

// Stages the visible part of the array's clip region and places the staging sprite
// so that clip pixel (clip_x, clip_y) lands at the position, even when the clip
// rectangle reaches outside the array. Null when there is nothing to show.
sf::Sprite *prepare_sprite(vollo_pixelarray *source, const vollo_position *position);

// The two halves of vollo_blit_shader, by kind of source.
void blit_picture(vollo_buffer *destination, vollo_picture *source, const vollo_position *position,
                  const sf::Shader *shader);
void blit_pixelarray(vollo_buffer *destination, vollo_pixelarray *source, const vollo_position *position);
// Picture onto pixel array: a direct copy of the picture's clip region, without blending.
void copy_picture_to_pixelarray(vollo_pixelarray *destination, vollo_picture *source,
                                vollo_position position);

// Lays the source's clip region over a pixel array with the blend rule of vollo.h,
// placed and cut as pixelarray_blit places and cuts it.
void pixelarray_blend(vollo_pixelarray *destination, const vollo_pixelarray *source, vollo_position position);

// Draws vertices on a window or a picture with default render states; on any
// other buffer does nothing.
void draw_vertices(vollo_buffer *buffer, const sf::Vertex *vertices, std::size_t count,
                   sf::PrimitiveType primitive);

// Whether drawing on `buffer` goes through logical pixels: a window with a logical size.
bool draws_logical_pixels(const vollo_buffer *buffer);

// Pixels of a window's logical space, gathered as boxes of one logical pixel (runs
// of one colour along a row make one box) and drawn in one call, with blending, when
// the gatherer goes. The primitives draw there as on a pixel array of that size.
class logical_pixels
{
public:
    explicit logical_pixels(vollo_buffer *window) : window_(window) {}
    ~logical_pixels();
    logical_pixels(const logical_pixels &) = delete;
    logical_pixels &operator=(const logical_pixels &) = delete;
    void operator()(int64_t x, int64_t y, uint32_t color);

private:
    vollo_buffer *window_;
    std::vector<sf::Vertex> vertices_;
    int64_t last_x_ = -2, last_y_ = -1;
    uint32_t last_color_ = 0;
};

// Software drawing on pixel arrays, used while the matching hook is null. Every
// write replaces the pixel (no blending) and nothing outside the array is touched.
void pixelarray_fill(vollo_pixelarray *array, uint32_t color);
void pixelarray_set_pixel(vollo_pixelarray *array, vollo_position position, uint32_t color);
void pixelarray_set_line(vollo_pixelarray *array, const vollo_position *points, const uint32_t *colors);
void pixelarray_set_polygon(vollo_pixelarray *array, const vollo_position *points, const uint32_t *colors);
void pixelarray_blit(vollo_pixelarray *destination, const vollo_pixelarray *source, vollo_position position);

// Image file formats that vollo_save_buffer writes, chosen by the file name.
enum class image_format
{
    none,
    png,
    bmp,
    tga,
    jpeg
};
// The format named by the extension of the path's last component, in any case
// (.png, .bmp, .tga, .jpg or .jpeg); none for anything else.
image_format format_of(const std::string &path);
// Encodes width x height pixels, 4 bytes each (R, G, B, A), row by row from the top,
// into `bytes` (appended). PNG, BMP and TGA keep the alpha; JPEG (quality 95) drops
// it. False when the encoder fails, memory runs out or the size is beyond it.
bool encode_image(const uint8_t *rgba, uint32_t width, uint32_t height, image_format format,
                  std::string &bytes);

}  // namespace vollo_graphics

#endif
