#pragma once

#include <cstddef>

// The allocations of this test program, C++'s and GMP's alike, counted, with the one of a given
// number made to fail. The program replaces the global operator new to see C++'s.
namespace radixel::testing {

// Makes the allocation `number` from now on fail (1 is the next one); 0 fails none.
void failAllocation(long number);

// How many allocations were made since the last call of failAllocation, and whether the one
// that it named has failed.
long allocationsCounted();
bool injectedFailureHappened();

}  // namespace radixel::testing
