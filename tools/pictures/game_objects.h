// The board, the ball and the blocks as drawn shapes. The object pictures are made of them, and
// the menus reuse them in their balancing motifs so the screens show the very objects of play.
#pragma once

#include "colour.h"
#include "screen_space.h"

#include <cairo.h>

namespace pictures {

constexpr int lightestWeight = 1;
constexpr int heaviestWeight = 10;

// The block colour scale: pale for weight 1 through amber and red to deep plum for weight 10.
Colour blockColour(int weight);

// A block face filling rect, its weight in large numerals.
void drawBlockFace(cairo_t* cr, Rect rect, int weight);

// The wooden board filling rect, with a mark at its middle over the pivot.
void drawPlank(cairo_t* cr, Rect rect);

// The ball: a glossy sphere with one band, its dark rim inside the given radius.
void drawBallSphere(cairo_t* cr, double centreX, double centreY, double radius);

// A whole balance in miniature: ball on the ground, board tilted by angleDegrees (positive turns
// its right end down, as in play), and stacks of blocks of the given weights on both ends.
struct BalanceMotif {
    double centreX;
    double groundY; // where the ball touches the ground
    double scale;   // 1 = the size of the objects in play
    double angleDegrees;
    const int* leftWeights;
    int leftCount;
    const int* rightWeights;
    int rightCount;
};
void drawBalanceMotif(cairo_t* cr, const BalanceMotif& motif);

} // namespace pictures
