#include "vollo.h"
#include "error_text.hpp"

const char *vollo_error(void)
{
    return vollo_error_text().c_str();
}
