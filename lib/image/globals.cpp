// Process-wide state of the picture readers.
#include "image.hpp"

const char *gl_vollo_load_error = nullptr;
