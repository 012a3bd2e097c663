#include "arena_presets.h"

namespace ksim {

Arena makeDefaultArena()
{
    return Arena(1000.0, 1000.0,
                 {
                     Box{{-380.0, -380.0}, {-260.0, -220.0}},
                     Box{{180.0, 160.0}, {320.0, 240.0}},
                 },
                 {
                     Circle{{-250.0, 250.0}, 40.0},
                     Circle{{260.0, -260.0}, 30.0},
                     Circle{{0.0, -300.0}, 25.0},
                 });
}

Arena makeOpenArena()
{
    return Arena(4000.0, 4000.0);
}

} // namespace ksim
