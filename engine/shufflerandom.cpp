#include "shufflerandom.h"

ShuffleGenerator& ShuffleRandom::Generator()
{
    static ShuffleGenerator instance{ShuffleGenerator::StartSeed};
    return instance;
}

void ShuffleRandom::RestartForTests() { Generator() = ShuffleGenerator{ShuffleGenerator::StartSeed}; }
