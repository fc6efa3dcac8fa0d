// Twins in the Vollo namespace of the INI API's marker objects (default_scope and
// the others): separate objects holding the same values. Kept apart from the
// function constants so that using a marker does not link in every function.
#include "vollo.h"

namespace Vollo
{
const char *DefaultScope = nullptr;
vollo_ini_scope *LastScope = nullptr;
const char *EraseIndex = nullptr;
const char *EraseScope = nullptr;
const int EraseField = -1;
}  // namespace Vollo
