#include "text.hpp"

void vollo_delete_font(vollo_font *font)
{
    delete font;
}
