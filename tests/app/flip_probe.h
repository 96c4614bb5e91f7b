#ifndef TIREVANE_TEST_FLIP_PROBE_H
#define TIREVANE_TEST_FLIP_PROBE_H

// This test program's SDL_Flip (flip_probe.cpp) is linked ahead of SDL's
// own, so every flip the game asks for passes through it on its way to the
// display: the tests see what the display is asked to do without the game
// keeping a count for them.
namespace flip_probe {

// Written to stderr at each process's first flip: a game that printed the
// right line and exited without starting shows none.
inline constexpr char kFirstFrame[] = "(first frame)\n";

// The flips this process has asked for so far.
unsigned flips();

// The flips asked for from its making on.
class Counter {
public:
    unsigned count() const { return flips() - start_; }

private:
    unsigned start_ = flips();
};

}  // namespace flip_probe

#endif
