// Allocations of the GL driver, told apart from the game's. Mesa's software renderer compiles
// shader variants the first time it meets a new combination of state, and its compiler (and
// LLVM's JIT) allocate through the program's operator new. Those allocations are the driver's
// cache, not the game's.
#pragma once

// Loads what calledFromGlDriver needs (the unwinder allocates on its first call); called before
// allocations are counted.
void prepareGlDriverCheck();
// True when a GL driver frame is on the calling thread's stack.
bool calledFromGlDriver();
