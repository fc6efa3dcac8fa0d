// In-place string append.
#include "terminal.h"

char *my_strcat(char *dst, const char *src)
{
    int32_t end = my_strlen(dst);
    int32_t i = 0;
    for (; src[i] != '\0'; i++)
        dst[end + i] = src[i];
    dst[end + i] = '\0';
    return dst;
}
