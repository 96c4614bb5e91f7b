#include "game/match.h"

Target& MatchSeam::add_target(Match& match, int x, int y)
{
    Target& newest = match.targets.append(match.difficulty, 0.0)->target();
    place(newest, x, y);
    return newest;
}

void MatchSeam::place(Target& target, int x, int y)
{
    target.rect.x = static_cast<Sint16>(x);
    target.rect.y = static_cast<Sint16>(y);
}

TargetList& MatchSeam::targets(Match& match)
{
    return match.targets;
}

Sint32 MatchSeam::score(const Match& match)
{
    return match.score;
}

Uint16 MatchSeam::seconds_left(const Match& match)
{
    return match.seconds_left;
}

void MatchSeam::set_seconds_left(Match& match, Uint16 seconds)
{
    match.seconds_left = seconds;
}

bool MatchSeam::ended(const Match& match)
{
    return match.ended != 0;
}

const SDL_Event& MatchSeam::last_event(const Match& match)
{
    return match.event;
}

const Match::LoopState& MatchSeam::loop(const Match& match)
{
    return match.loop;
}
