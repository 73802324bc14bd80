#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

void drawHud(int level) {
    // The glyphs take the current colour alone, their ink being white: white in levels 1 to 4,
    // the black that level 5 sets.
    placeTextPen(layout::hudLevelLabel.x, layout::hudLevelLabel.baseline);
    drawText("%s", levelParams(level).label);
    placeTextPen(layout::hudBalance.x, layout::hudBalance.baseline);
    drawText("Balance");
    placeTextPen(layout::hudDifferential.x, layout::hudDifferential.baseline);
    drawText("differential: %i", allowedImbalance);
    placeTextPen(layout::hudBlocksLeft.x, layout::hudBlocksLeft.baseline);
    drawText("Blocks left: %i", blocksLeft);
}

void drawBlock(const Block& block) {
    glLoadIdentity();
    glTranslatef(block.x, block.y, 0.0f);
    const layout::QuadPlace place{0.0f, 0.0f, block.width, block.height};
    if (block.texture != nullptr) {
        glBindTexture(GL_TEXTURE_2D, *block.texture);
        drawTexturedQuad(place, 0.0f);
    } else {
        drawPlainQuad(place); // no picture: the colour alone, white
    }
}

// A line centred on the play area by its glyphs' advances.
void drawCentredLine(FontSize size, const char* text, float baseline) {
    const float width = textWidth(size, text);
    placeTextPen(layout::playAreaCentreX - width / 2.0f, baseline);
    drawTextIn(size, "%s", text);
}

} // namespace

void drawPauseShade() {
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.55f);
    drawPlainQuad({0.0f, 0.0f, static_cast<float>(layout::screenWidth),
                   static_cast<float>(layout::screenHeight)}); // no picture: the colour alone
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE); // as the scene leaves it
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawCentredLine(FontSize::Large, "Paused", layout::pausedTitleBaseline);
    drawCentredLine(FontSize::Small, "Press P or Esc to go on (pad: Start)",
                    layout::pausedHintBaseline);
}

void drawBallQuad() {
    glBindTexture(GL_TEXTURE_2D, ballTexture);
    drawTexturedQuad(layout::ballQuad, 0.0f);
}

void drawBoardQuad() {
    glBindTexture(GL_TEXTURE_2D, boardTexture);
    drawTexturedQuad(layout::boardQuad, HiddenPictureRows);
}

void drawLevelScene(int level) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, levelBackground[level]);
    FullscreenQuad();

    if (level == 5) {
        glColor3f(0.0f, 0.0f, 0.0f); // the last level's background is light: black text
    }
    drawHud(level);

    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawBallQuad();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    glTranslatef(board.x, board.y, 0.0f);
    glRotatef(board.angle, 0.0f, 0.0f, 1.0f);
    drawBoardQuad();

    // Blocks stay upright whatever the board's angle; waiting ones lie above the screen.
    for (int i = 0; i < levelParams(level).blockCount; ++i) {
        drawBlock(blocks[i]);
    }
}
