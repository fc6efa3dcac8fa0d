// C code reads the records a C++ library fills: both must place every field alike.
#include <cstddef>

#include <gtest/gtest.h>

#include "vollo.h"

extern "C" const size_t vollo_c_layout[];

#define LAYOUT(record, field) offsetof(record, field),
static const size_t cxx_layout[] = {
#include "layout_fields.h"
};

TEST(CHeader, RecordsHaveTheSameLayoutInCAndCxx)
{
    for (size_t i = 0; i < sizeof cxx_layout / sizeof cxx_layout[0]; ++i)
        EXPECT_EQ(vollo_c_layout[i], cxx_layout[i]) << "entry " << i << " of layout_fields.h";
}
