#ifndef TIREVANE_CORE_RANDOM_RANGE_H
#define TIREVANE_CORE_RANDOM_RANGE_H

// The game's only source of chance: lo + rand() % (hi - lo + 1), as a double.
// Note the order: upper bound first. Callers pass hi >= lo.
double RandomRange(int hi, int lo);

#endif
