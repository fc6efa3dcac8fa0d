// The INI reader on arbitrary text. Whatever it reads in full, the writer writes
// so that reading the output again gives the same document (NUL bytes, which
// the writer drops by design, aside).
#include <algorithm>
#include <sstream>

#include "fuzz_common.hpp"
#include "ini/Ini.hpp"

static kzr::Ini::ScopeMap without_nul_bytes(kzr::Ini::ScopeMap data)
{
    for (auto &scope : data)
        for (auto &field : scope.second)
            for (auto &value : field.second)
                value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
    return data;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kzr::Ini document;
    std::string text(reinterpret_cast<const char *>(data), size);
    if (!document.Read(text))
        return 0;
    std::ostringstream out;
    document.Save(out);
    kzr::Ini again;
    if (!again.Read(out.str()))
    {
        fprintf(stderr, "written text does not read back: %s\n", again.LastError.c_str());
        abort();
    }
    if (without_nul_bytes(document.GetData()) != again.GetData())
    {
        fprintf(stderr, "written text reads back as another document\n");
        abort();
    }
    return 0;
}
