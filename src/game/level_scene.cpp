#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

void drawHud(int level) {
    // The glyphs take the current colour alone (drawText draws them with no picture bound):
    // white in levels 1 to 4, the black that level 5 sets.
    glRasterPos2f(890.0f, 50.0f);
    drawText("%s", levelParams(level).label);
    glRasterPos2f(883.0f, 150.0f);
    drawText("Balance");
    glRasterPos2f(855.0f, 165.0f);
    drawText("differential: %i", allowedImbalance);
    glRasterPos2f(855.0f, 200.0f);
    drawText("Blocks left: %i", blocksLeft);
}

void drawBlock(const Block& block) {
    glBindTexture(GL_TEXTURE_2D, block.texture != nullptr ? *block.texture : 0);
    glLoadIdentity();
    glTranslatef(block.x, block.y, 0.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, block.height, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(block.width, block.height, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(block.width, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
}

} // namespace

void drawBallQuad() {
    glBindTexture(GL_TEXTURE_2D, ballTexture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(350.0f, 785.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(450.0f, 785.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(450.0f, 685.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(350.0f, 685.0f, 0.0f);
    glEnd();
}

void drawBoardQuad() {
    glBindTexture(GL_TEXTURE_2D, boardTexture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, HiddenPictureRows);
    glVertex3f(-200.0f, 7.5f, 0.0f);
    glTexCoord2f(1.0f, HiddenPictureRows);
    glVertex3f(200.0f, 7.5f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(200.0f, -7.5f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-200.0f, -7.5f, 0.0f);
    glEnd();
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
