#include "core/random_range.h"

#include <cstdlib>

double RandomRange(int hi, int lo)
{
    const int r = std::rand();
    return static_cast<double>(lo + r % (hi - lo + 1));
}
