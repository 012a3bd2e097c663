#pragma once
// The generation step as first written, operator by operator on whole
// individuals through the GA's public operations: sort the population
// fittest first, RouletteSelect or RankSelect into a fresh pool, shuffle it,
// cross each pair at one cut, mutate every bit by the real comparison
// RandomReal() < rate, copy the elites over random members, replace the
// population and count the generation. It draws from the GA's generators
// and writes the same log lines. GA::NextGeneration must give exactly the
// same populations, fitness values, counter and generator states; the tests
// and the step benchmark hold it against this.
class GA;

void ReferenceNextGeneration(GA& ga);
