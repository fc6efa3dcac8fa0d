#include "canvas_util.h"

#include <cstdlib>
#include <filesystem>

TempDir::TempDir()
{
    char name[] = "/tmp/paint-test-XXXXXX";
    if (mkdtemp(name) != nullptr)
        path = name;
}

TempDir::~TempDir()
{
    if (!path.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}
