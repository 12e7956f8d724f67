// Integer hash of lattice points: the one source of randomness of every
// generator, so the same seed gives the same bytes on every machine.
#pragma once

#include <cstdint>

class LatticeHash {
public:
    explicit LatticeHash(uint32_t seedValue = 0) : seed(seedValue) {}

    // 32 well-mixed bits for the point
    uint32_t bits(int x, int y, int z = 0) const;
    // uniform value in [0, 1) for the point
    float unit(int x, int y, int z = 0) const;
    // the same hash under another seed, for independent layers
    LatticeHash derived(uint32_t salt) const;

private:
    uint32_t seed = 0;
};
