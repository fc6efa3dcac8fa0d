#include <algorithm>
#include <cmath>

#include "input_private.hpp"

namespace vollo_internal
{

void clamp_pointer(sf::Event &event)
{
    const auto reach = [](int &at) { at = std::clamp(at, -pointer_reach, pointer_reach); };
    if (event.type == sf::Event::MouseButtonPressed || event.type == sf::Event::MouseButtonReleased)
        reach(event.mouseButton.x), reach(event.mouseButton.y);
    else if (event.type == sf::Event::MouseMoved)
        reach(event.mouseMove.x), reach(event.mouseMove.y);
    else if (event.type == sf::Event::MouseWheelScrolled)
    {
        reach(event.mouseWheelScroll.x), reach(event.mouseWheelScroll.y);
        float &delta = event.mouseWheelScroll.delta;
        delta = std::isnan(delta) ? 0.0f : std::clamp(delta, -wheel_reach, wheel_reach);
    }
}

}  // namespace vollo_internal
