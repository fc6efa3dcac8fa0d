#include "error/records.hpp"
#include "text.hpp"

void vollo_delete_font(vollo_font *font)
{
    vollo_untrack(font);
    delete font;
}
