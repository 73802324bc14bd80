#pragma once

// Counts the program's calls of operator new. A program that links new_counter.cpp has every
// form of operator new and delete replaced: the memory comes from malloc (aligned_alloc beyond
// the alignment malloc gives) and goes back to free.
namespace new_counter {

// Looks at one operator new made while counting (at its stack, say) and says whether it counts.
// An operator new made inside it is neither looked at nor counted.
using Check = bool (*)();

// Counts from zero every operator new made from now on in any thread, or those check counts.
void start(Check check = nullptr);

// Stops counting and returns the count since start().
long stop();

} // namespace new_counter
