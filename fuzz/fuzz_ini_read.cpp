// The INI reader on arbitrary text; whatever it accepts, the writer's output reads back the same.
#include <sstream>

#include "fuzz_common.hpp"
#include "ini/Ini.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kzr::Ini document;
    std::string text(reinterpret_cast<const char *>(data), size);
    document.Read(text);
    std::ostringstream out;
    document.Save(out);
    return 0;
}
