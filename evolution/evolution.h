#pragma once
// Evolution and fitness library: see truthtable.h and the fitness headers.
