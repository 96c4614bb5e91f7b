# Shared by the stage scripts: where the repository is and how much to build
# at once. Sourced, not run.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
jobs="$(nproc)"
werror=OFF
[ -n "${CI:-}" ] && werror=ON
# Environment of every test program: no display, SDL's dummy sound output
# (real time, no sound card).
test_env=(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy)
