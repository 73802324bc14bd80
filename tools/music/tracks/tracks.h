// The game's six tracks, each written as a plan: the menu's and one for each level.
#pragma once

#include "track_plan.h"

#include "layout/layout.h"

#include <vector>

TrackPlan menuTrack();       // menumusa.it: calm, for the picture screens
TrackPlan executeTrack();    // Execute.it, level 1
TrackPlan noOneTrack();      // NOONE.it, level 2
TrackPlan sixtySevenTrack(); // 67.it, level 3
TrackPlan lastTrack();       // LAST.it, level 4
TrackPlan blacksmithTrack(); // BLACKSMI.it, level 5

// All six, menu first, then levels 1 to 5.
std::vector<TrackPlan> allTracks();
