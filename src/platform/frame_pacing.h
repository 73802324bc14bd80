// Frames paced to the display where the buffer swap does not wait for it (software GL, many
// virtual machines, Xvfb): the rest of each refresh period is slept instead of drawing the same
// picture again at once. Where the swap waits, nothing is added.
#pragma once

namespace frame_pacing {

// On unless switched off; the benchmarks switch it off to measure frames back to back.
void setEnabled(bool enabled);

// Called right after each buffer swap.
void afterSwap();

} // namespace frame_pacing
