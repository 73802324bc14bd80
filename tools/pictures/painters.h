// One painter per picture (or family of pictures). Each draws the whole canvas it is given; the
// catalogue says which file each one becomes.
#pragma once

#include "canvas.h"

namespace pictures {

// Full-screen pictures, 1024 x 1024, of which the game shows the upper 74.5 %.
void paintLogo(Canvas& canvas);
void paintMainMenu(Canvas& canvas);
void paintPlayMenu(Canvas& canvas);
void paintLevelSelect(Canvas& canvas);
void paintHelp(Canvas& canvas);
void paintGameOver(Canvas& canvas);
void paintCredits(Canvas& canvas);
void paintLevelBackground(Canvas& canvas, int level); // level 1..5

// Objects of play.
void paintBoard(Canvas& canvas);
void paintBall(Canvas& canvas);
void paintBlock(Canvas& canvas, int weight); // weight 1..10
void paintCompletionBox(Canvas& canvas);

} // namespace pictures
