// Where the window's drawing space (its own size, or the size set by
// vollo_set_logical_size) is shown inside the window, and the mapping of
// positions between window pixels and that space.
#include <algorithm>
#include <limits>

#include "window_private.hpp"

namespace vollo_internal
{
namespace
{

int64_t floor_divide(int64_t numerator, int64_t denominator)
{
    const int64_t quotient = numerator / denominator;
    return quotient * denominator > numerator ? quotient - 1 : quotient;
}

int32_t saturate(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

// One axis from window pixels into the space: pixel `at` lies in space pixel floor(...).
int32_t into_space(int64_t at, int64_t box_start, int64_t box_size, int64_t space_size)
{
    return saturate(floor_divide((at - box_start) * space_size, box_size));
}

// One axis from the space into window pixels: the window pixel under the centre of
// space pixel `at`.
int32_t out_of_space(int64_t at, int64_t box_start, int64_t box_size, int64_t space_size)
{
    return saturate(box_start + floor_divide((2 * at + 1) * box_size, 2 * space_size));
}

// The box of the window's current size, and whether there is one to map through.
bool current_box(const vollo_window *window, space_box &box)
{
    if (!window || !window->render_target || window->width == 0 || window->height == 0)
        return false;
    const sf::Vector2u size = static_cast<sf::RenderWindow *>(window->render_target)->getSize();
    if (size.x == 0 || size.y == 0)
        return false;
    box = space_box_of(window, size.x, size.y);
    return true;
}

}  // namespace

space_box space_box_of(const vollo_window *window, uint32_t window_width, uint32_t window_height)
{
    const int64_t space_width = window->logical_width, space_height = window->logical_height;
    const int64_t width = window_width, height = window_height;
    if (space_width == 0 || space_height == 0)
        return space_box{0, 0, width, height};
    int64_t shown_width, shown_height;
    const int64_t whole = std::min(width / space_width, height / space_height);
    if (window->whole_factors && whole >= 1)
    {
        shown_width = space_width * whole;
        shown_height = space_height * whole;
    }
    else if (width * space_height <= height * space_width)  // the width sets the scale
    {
        shown_width = width;
        shown_height = std::max<int64_t>(1, (space_height * width + space_width / 2) / space_width);
    }
    else
    {
        shown_height = height;
        shown_width = std::max<int64_t>(1, (space_width * height + space_height / 2) / space_height);
    }
    return space_box{(width - shown_width) / 2, (height - shown_height) / 2, shown_width, shown_height};
}

void show_space(vollo_window *window, uint32_t window_width, uint32_t window_height)
{
    const space_box box = space_box_of(window, window_width, window_height);
    const float width = float(window_width), height = float(window_height);
    sf::View view(sf::FloatRect(0.0f, 0.0f, float(window->width), float(window->height)));
    view.setViewport(sf::FloatRect(float(box.x) / width, float(box.y) / height, float(box.width) / width,
                                   float(box.height) / height));
    static_cast<sf::RenderWindow *>(window->render_target)->setView(view);
}

vollo_position window_to_space(const vollo_window *window, vollo_position position)
{
    space_box box;
    if (!current_box(window, box))
        return position;
    return vollo_position{into_space(position.x, box.x, box.width, window->width),
                          into_space(position.y, box.y, box.height, window->height)};
}

vollo_position space_to_window(const vollo_window *window, vollo_position position)
{
    space_box box;
    if (!current_box(window, box))
        return position;
    return vollo_position{out_of_space(position.x, box.x, box.width, window->width),
                          out_of_space(position.y, box.y, box.height, window->height)};
}

void mouse_to_space(const vollo_window *window, sf::Event &event)
{
    if (!window || window->logical_width == 0)
        return;
    int *x = nullptr, *y = nullptr;
    if (event.type == sf::Event::MouseButtonPressed || event.type == sf::Event::MouseButtonReleased)
        x = &event.mouseButton.x, y = &event.mouseButton.y;
    else if (event.type == sf::Event::MouseWheelScrolled)
        x = &event.mouseWheelScroll.x, y = &event.mouseWheelScroll.y;
    else if (event.type == sf::Event::MouseMoved)
        x = &event.mouseMove.x, y = &event.mouseMove.y;
    if (!x)
        return;
    const vollo_position mapped = window_to_space(window, vollo_position{*x, *y});
    *x = mapped.x;
    *y = mapped.y;
}

void paint_bars(vollo_window *window)
{
    space_box box;
    if (!window || window->logical_width == 0 || !current_box(window, box))
        return;
    sf::RenderWindow *target = static_cast<sf::RenderWindow *>(window->render_target);
    const float width = float(target->getSize().x), height = float(target->getSize().y);
    const float left = float(box.x), top = float(box.y);
    const float right = float(box.x + box.width), bottom = float(box.y + box.height);
    // Above, below, left of and right of the box; empty ones draw nothing.
    const sf::FloatRect bars[] = {{0, 0, width, top}, {0, bottom, width, height - bottom},
                                  {0, top, left, bottom - top}, {right, top, width - right, bottom - top}};
    sf::VertexArray quads(sf::Quads);
    for (const sf::FloatRect &bar : bars)
        for (const sf::Vector2f corner : {sf::Vector2f(bar.left, bar.top), sf::Vector2f(bar.left + bar.width, bar.top),
                                          sf::Vector2f(bar.left + bar.width, bar.top + bar.height),
                                          sf::Vector2f(bar.left, bar.top + bar.height)})
            quads.append(sf::Vertex(corner, sf::Color::Black));
    const sf::View saved = target->getView();
    target->setView(sf::View(sf::FloatRect(0.0f, 0.0f, width, height)));
    target->draw(quads, sf::RenderStates(sf::BlendNone));
    target->setView(saved);
}

}  // namespace vollo_internal
