#include "vollo.h"
#include "error_text.hpp"

void vollo_clear_error(void)
{
    vollo_error_text().clear();
}
