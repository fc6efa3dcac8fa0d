// Private to lib/error: the storage behind vollo_error.
#ifndef VOLLO_ERROR_TEXT_HPP
#define VOLLO_ERROR_TEXT_HPP

#include <string>

// The reason of the calling thread's most recent failure; empty when none.
std::string &vollo_error_text();

#endif
