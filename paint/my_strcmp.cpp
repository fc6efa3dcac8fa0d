// String comparison with bytes taken as signed 8-bit values.
#include "terminal.h"

int32_t my_strcmp(const char *a, const char *b)
{
    int32_t i = 0;
    while (a[i] != '\0' && a[i] == b[i])
        i++;
    return static_cast<int32_t>(static_cast<int8_t>(a[i])) -
           static_cast<int32_t>(static_cast<int8_t>(b[i]));
}
