// One row of an ellipse in exact integer arithmetic. With coordinates doubled,
// the centre of pixel (x, y) relative to the centre point is (u, v) = (2(x - cx) + 1,
// 2(y - cy) + 1), both odd, and it lies inside or on the ellipse when
// u^2 b^2 + v^2 a^2 <= 4 a^2 b^2.
#include <cmath>

#include "shapes.hpp"

namespace vollo_shapes
{

using wide = unsigned __int128;

// floor(sqrt(n)) for n < 2^64.
static uint64_t square_root(wide n)
{
    uint64_t root = uint64_t(std::sqrt(double(n)));
    while (wide(root) * root > n)
        --root;
    while (wide(root + 1) * (root + 1) <= n)
        ++root;
    return root;
}

row_span ellipse_span(int64_t cx, int64_t cy, int64_t a, int64_t b, int64_t y)
{
    const __int128 v = __int128(2) * (y - cy) + 1;
    const __int128 a2 = __int128(a) * a, b2 = __int128(b) * b;
    if (v * v > 4 * b2)
        return row_span{1, 0};
    // Radii below 2^31 keep every product below 2^127.
    const __int128 room = a2 * (4 * b2 - v * v);
    const uint64_t k = square_root(room / b2);  // the largest |u| allowed
    if (k == 0)
        return row_span{1, 0};
    // Odd u in [-k, k]: x - cx from -(k + 1) / 2 to (k - 1) / 2.
    return row_span{cx - int64_t((k + 1) / 2), cx + int64_t((k - 1) / 2)};
}

}  // namespace vollo_shapes
