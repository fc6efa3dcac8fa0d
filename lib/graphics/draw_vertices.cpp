#include "graphics.hpp"

namespace vollo_graphics
{

void draw_vertices(vollo_buffer *buffer, const sf::Vertex *vertices, std::size_t count,
                   sf::PrimitiveType primitive)
{
    if (sf::RenderTarget *target = render_target_of(buffer))
        target->draw(vertices, count, primitive, sf::RenderStates::Default);
}

}  // namespace vollo_graphics
