#include <cstdio>

#include "game/match.h"
#include "persist/char_list.h"
#include "persist/profile.h"

void Match::save_score()
{
    // A fresh profile: write_score finds the score entry by itself.
    Profile profile;
    char formatted[45] = {};
    std::snprintf(formatted, sizeof formatted, "%ld", static_cast<long>(score));
    CharList digits;
    for (const char* c = formatted; *c; ++c) {
        digits.append(*c);
    }
    profile.set_score_digits(digits);
    profile.write_score();
    digits.clear();
}
