#pragma once

#include "arena.h"

namespace ksim {

// 1 m x 1 m walled square with two boxes and three cylinders, leaving the
// centre and the run straight ahead (+x) from it clear.
Arena makeDefaultArena();

// 4 m x 4 m walled square with nothing inside: room for long free runs.
Arena makeOpenArena();

} // namespace ksim
