// Live and peak heap bytes of the benchmark process, counted by replacing
// the global operator new and delete, so a benchmark can report the peak
// memory of one load.
#pragma once

#include <cstddef>

// bytes allocated through operator new and not yet freed
size_t liveHeapBytes();
// the highest liveHeapBytes since the last resetHeapPeak
size_t heapPeakBytes();
void resetHeapPeak();
