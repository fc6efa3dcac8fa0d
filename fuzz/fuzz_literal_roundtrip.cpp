// Encoding a value as a literal body and decoding the quoted body gives the value back.
#include "fuzz_common.hpp"
#include "parsing/ParsingTools.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string value(reinterpret_cast<const char *>(data), size);
    if (value.find('\0') != std::string::npos)
        return -1;  // NUL bytes are dropped by the encoder by design
    kzr::ParsingTools tools;
    std::string quoted = "\"" + tools.BuildString(value) + "\"";
    unsigned int pos = 0;
    std::string decoded;
    if (tools.ReadString(quoted, pos, decoded) != 0 || decoded != value || pos != quoted.size())
    {
        fprintf(stderr, "round trip failed: %zu bytes in, %zu bytes out\n", value.size(), decoded.size());
        abort();
    }
    return 0;
}
