#include "error/error.hpp"
#include "image.hpp"

namespace vollo_image
{

void fail_reading(const char *path, file_reach reach, const char *reason)
{
    vollo_fail(reach == file_missing ? "cannot open '%s': %s" : "cannot read '%s': %s", path ? path : "(no path)",
               reason);
}

}  // namespace vollo_image
