// The paint-pot picture, drawn on the cell that chooses the fill tool.
#include "paint.h"

void bucket_bmp(paint_state *state)
{
    vollo_pixelarray *pot = load_interface_picture("potdepeinture.bmp");

    if (pot == nullptr)
        return;
    copy_picture(state, pot, 220, 0, 62, 105);
    vollo_delete_clipable(pot);
}
