// A short walk through every screen of the game on the scripted platform: start-up as the
// program does it, then one step per frame (the pointer moving, so still screens draw too), each
// one a click, a key or a jump that the game itself would make, until the main menu's Quit ends the
// run. Fades and countdowns run as the game runs them, in virtual time.
#pragma once

#include <cstdint>
#include <functional>
#include <set>

namespace faults {

struct TourStep {
    const char* name;
    void (*before)();  // what the player does (or the test arranges) before the step's frame
    const char* track; // the track that plays once the step's frame is done
};

// Logo, main menu, help, play menu, level select with every level unlocked, level 1 to 5 each
// with its completion, credits, game over and out through Quit.
extern const TourStep tourSteps[];
extern const int tourStepCount;

struct TourHooks {
    std::function<void()> afterStartUp;      // start-up done: the logo's first frame shown
    std::function<void(int step)> afterStep; // the step's frame done; the last after shutdown
};

struct TourRecord {
    int exitCode = -1;
    int stepsRun = 0;
    std::set<std::uint32_t> presentedStates; // GameState at every presented frame
};

// Runs the game through the tour (Data.dat must unlock every level) and reports what it saw.
// Presented frames move the virtual clock by twelve frames, so that fades take a few passes, and
// the drawable is a quarter of the window's width and height.
TourRecord runScreenTour(const TourHooks& hooks);

} // namespace faults
