#include "LatticeHash.h"

namespace {
// finaliser of a 32-bit integer hash (lowbias32): every input bit reaches
// every output bit, so neighbouring lattice points look unrelated
uint32_t avalanche(uint32_t v)
{
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}
}

uint32_t LatticeHash::bits(int x, int y, int z) const
{
    uint32_t h = avalanche(seed ^ 0x9e3779b9U);
    h = avalanche(h ^ static_cast<uint32_t>(x));
    h = avalanche(h ^ static_cast<uint32_t>(y) * 0x85ebca6bU);
    h = avalanche(h ^ static_cast<uint32_t>(z) * 0xc2b2ae35U);
    return h;
}

float LatticeHash::unit(int x, int y, int z) const
{
    // 24 bits fit a float's mantissa exactly
    return static_cast<float>(bits(x, y, z) >> 8) * (1.0f / 16777216.0f);
}

LatticeHash LatticeHash::derived(uint32_t salt) const
{
    return LatticeHash(avalanche(seed + 0x632be5abU * (salt + 1U)));
}
