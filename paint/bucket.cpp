// The paint-pot picture, drawn on the cell that chooses the fill tool.
#include "interface.h"
#include "state.h"

void bucket_bmp(paint_state *state)
{
    vollo_pixelarray *pot = load_interface_picture("potdepeinture.bmp");

    if (pot == nullptr)
        return;
    const paint_rect cell = PAINT_LAYOUT.fill.drawn;
    copy_picture(state, pot, cell.x0, cell.y0, cell.x1 - cell.x0 + 1, cell.y1 - cell.y0 + 1);
    vollo_delete_clipable(pot);
}
