// The library's functions a second time, as constant pointers in the Vollo
// namespace, one for each entry of the list in vollo_namespace.h. Each is
// constexpr, so the compiler refuses anything but constant initialisation: the
// pointers sit in read-only data, already set when the program is loaded, before
// any static constructor or main runs. Their types come from the declarations in
// vollo.h (decltype of each function's address).
#include "vollo.h"

namespace Vollo
{
#define VOLLO_DEFINE_CONSTANT(constant, function) constexpr decltype(&function) constant = &function;
VOLLO_NAMESPACE(VOLLO_DEFINE_CONSTANT)
#undef VOLLO_DEFINE_CONSTANT
}  // namespace Vollo
