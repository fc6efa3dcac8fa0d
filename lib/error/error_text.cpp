// The text of the most recent failure, shared by vollo_error, vollo_clear_error and vollo_fail:
// one per thread, so that a decode on a worker thread never writes the main thread's.
#include <new>

#include "error_text.hpp"

// Made with room for a usual reason, so that a failure to allocate can still be told.
static std::string with_room()
{
    std::string text;
    try
    {
        text.reserve(255);
    }
    catch (const std::bad_alloc &)
    {
    }
    return text;
}

std::string &vollo_error_text()
{
    thread_local std::string text = with_room();
    return text;
}
