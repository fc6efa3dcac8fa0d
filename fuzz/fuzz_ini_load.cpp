// The INI loader on arbitrary bytes given as a file, comments included.
#include "fuzz_common.hpp"
#include "ini/Ini.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_write_file(data, size);
    kzr::Ini document;
    document.Load(fuzz_file_path());
    return 0;
}
