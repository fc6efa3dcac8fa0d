// The pixel arrays whose pixels came from malloc. A set beside the records keeps their
// layout as programs know it, and stays empty for programs that adopt nothing.
#include <new>
#include <unordered_set>

#include "adopted.hpp"

namespace
{
std::unordered_set<const vollo_pixelarray *> &adopted()
{
    static std::unordered_set<const vollo_pixelarray *> arrays;
    return arrays;
}
}  // namespace

namespace vollo_graphics
{
bool note_adopted(const vollo_pixelarray *array)
{
    try
    {
        adopted().insert(array);
        return true;
    }
    catch (const std::bad_alloc &)
    {
        return false;
    }
}

bool forget_adopted(const vollo_pixelarray *array)
{
    return adopted().erase(array) != 0;
}
}  // namespace vollo_graphics
