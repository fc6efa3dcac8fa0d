#include "vollo.h"

// The live record: later registrations show through the returned pointer.
const vollo_context *vollo_get_context(void)
{
    return &gl_callback;
}
