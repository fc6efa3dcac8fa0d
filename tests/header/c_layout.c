/* Where the records' fields lie as a C compiler sees vollo.h. */
#include <stddef.h>

#include "vollo.h"

#define LAYOUT(record, field) offsetof(record, field),
const size_t vollo_c_layout[] = {
#include "layout_fields.h"
};
