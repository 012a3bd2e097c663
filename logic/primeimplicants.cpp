#include "primeimplicants.h"

#include "tablecells.h"

namespace {
// A cube as a ternary number: digit b (weight 3^b) is 0 or 1 when row bit b
// is tested for that value and 2 when it is free. Every cube with a free bit
// is the union of the two cubes with that digit set to 0 and 1, which have
// smaller codes, so one pass in code order settles all 3^n cubes.
struct TernaryCubes {
    explicit TernaryCubes(int32_t n) : inputs(n)
    {
        int32_t weight = 1;
        for (int32_t b = 0; b < n; ++b) {
            power[b] = weight;
            weight *= 3;
        }
        count = weight;
    }

    // Steps `digits` to the next code.
    void Next(int8_t* digits) const
    {
        for (int32_t b = 0; b < inputs; ++b) {
            if (++digits[b] < 3)
                return;
            digits[b] = 0;
        }
    }

    int32_t inputs;
    int32_t count;
    int32_t power[16] = {};
};
} // namespace

std::vector<Cube> PrimeImplicants(const std::vector<int32_t>& column, int32_t numInputs)
{
    const TernaryCubes cubes(numInputs);
    // implicant: the cube holds no off-set row; touchesOn: it holds an on-set row.
    std::vector<uint8_t> implicant(static_cast<std::size_t>(cubes.count));
    std::vector<uint8_t> touchesOn(static_cast<std::size_t>(cubes.count));
    int8_t digits[16] = {};
    for (int32_t code = 0; code < cubes.count; ++code, cubes.Next(digits)) {
        int32_t freeBit = -1;
        uint32_t row = 0;
        for (int32_t b = 0; b < numInputs && freeBit < 0; ++b) {
            if (digits[b] == 2)
                freeBit = b;
            else
                row |= static_cast<uint32_t>(digits[b]) << b;
        }
        const auto k = static_cast<std::size_t>(code);
        if (freeBit < 0) {
            const int32_t cell = column[row];
            implicant[k] = cell == 1 || cell == DontCare;
            touchesOn[k] = cell == 1;
        } else {
            const auto low = static_cast<std::size_t>(code - 2 * cubes.power[freeBit]);
            const auto high = static_cast<std::size_t>(code - cubes.power[freeBit]);
            implicant[k] = implicant[low] & implicant[high];
            touchesOn[k] = touchesOn[low] | touchesOn[high];
        }
    }

    std::vector<Cube> primes;
    std::fill(std::begin(digits), std::end(digits), 0);
    for (int32_t code = 0; code < cubes.count; ++code, cubes.Next(digits)) {
        const auto k = static_cast<std::size_t>(code);
        if (!implicant[k] || !touchesOn[k])
            continue;
        Cube cube;
        bool prime = true;
        for (int32_t b = 0; b < numInputs && prime; ++b) {
            if (digits[b] == 2)
                continue;
            // Freeing bit b gives the code with digit 2 there.
            prime = !implicant[static_cast<std::size_t>(code + (2 - digits[b]) * cubes.power[b])];
            cube.care = static_cast<uint16_t>(cube.care | (1u << b));
            cube.value = static_cast<uint16_t>(cube.value | (static_cast<uint32_t>(digits[b]) << b));
        }
        if (prime)
            primes.push_back(cube);
    }
    return primes;
}
