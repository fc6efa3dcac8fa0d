// vollo.h alone, as C++17 with -pedantic: the build fails if it does not compile.
#include "vollo.h"
