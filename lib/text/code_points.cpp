#include "text.hpp"

namespace vollo_text
{

std::vector<uint32_t> code_points(const char *text)
{
    std::vector<uint32_t> result;
    while (*text)
    {
        const uint32_t code_point = next_code_point(text);
        result.push_back(code_point == invalid_code_point ? 0xFFFD : code_point);
    }
    return result;
}

}  // namespace vollo_text
