#include "tracks.h"

std::vector<TrackPlan> allTracks() {
    std::vector<TrackPlan> tracks;
    tracks.push_back(menuTrack());
    tracks.push_back(executeTrack());
    tracks.push_back(noOneTrack());
    tracks.push_back(sixtySevenTrack());
    tracks.push_back(lastTrack());
    tracks.push_back(blacksmithTrack());
    return tracks;
}
