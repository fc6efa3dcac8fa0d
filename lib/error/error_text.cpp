// The text of the most recent failure, shared by vollo_error, vollo_clear_error and vollo_fail.
#include "error_text.hpp"

std::string &vollo_error_text()
{
    static std::string text;
    return text;
}
