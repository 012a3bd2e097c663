#include "processrandom.h"

LcgGenerator& ProcessRandom::Generator()
{
    static LcgGenerator instance{LcgGenerator::StartState};
    return instance;
}

void ProcessRandom::RestartForTests() { Generator() = LcgGenerator{LcgGenerator::StartState}; }
