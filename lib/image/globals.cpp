// State of the picture readers: one per thread, as vollo_error's text, since pictures
// may be decoded on worker threads.
#include "image.hpp"

thread_local const char *gl_vollo_load_error = nullptr;
