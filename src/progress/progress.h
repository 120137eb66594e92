// What survives between runs: the meters, the place in the phase cycle and the two counters,
// kept in "qmprogress.dat" beside the user's settings folder.
#pragma once
#include <cstdint>

struct Progress {
    int32_t phase;
    int32_t phaseTick;
    float heat;
    float fire;
    float water;
    float food;
    float health;
    int32_t goodCount;
    int32_t deadCount;
};

extern Progress progress;

// A fresh chip: 0, 0, 0, 0, 255, 255, 255, 0, 0.
Progress defaultProgress();

// Claims the progress file for this copy of the game until it ends, making its folder first
// when it is missing. False when another copy that is running plays on it. When that cannot be
// told (a folder that cannot be made or written), one line on stderr says why and the game
// plays as if alone.
bool claimProgress();
// Fills `progress` from the file, or with the defaults; never fails visibly. A file that is
// there but cannot be read (or is no regular file) is never written over in this session; one
// line on stderr says so.
void loadProgress();
// Writes `progress` to the file durably; never leaves a half-written file. A failure is told on
// stderr (once for each reason), never on the game's screen (the browser's page tells a refused
// save in its own way). Only the thread that changes `progress` (the game loop's) calls it; it
// publishes the record as well.
void saveProgress();
// Another thread never reads `progress`, which the game loop may be changing: the loop
// publishes a copy after each pass, and this saves the copy published last, as saveProgress
// does. Safe to call from any thread (a lost display may be noticed on any).
void publishProgress();
void savePublishedProgress();
