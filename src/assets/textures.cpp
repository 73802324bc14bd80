#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilut.h>

#include "assets/assets.h"
#include "assets/picture_header.h"

unsigned int logoTexture = 0;
unsigned int menuTexture = 0;
unsigned int playMenuTexture = 0;
unsigned int levelBackground[6] = {};
unsigned int boardTexture = 0;
unsigned int ballTexture = 0;
unsigned int weightTextures[11] = {};
unsigned int boxTexture = 0;
unsigned int gameOverTexture = 0;
unsigned int helpTexture = 0;
unsigned int creditsTexture = 0;
unsigned int levelSelectTexture = 0;

namespace {

struct PictureEntry {
    const char* path;
    unsigned int* slot;
};

// The loading order is fixed; the weights' pictures are named by the weight they show.
const PictureEntry pictureCatalogue[] = {
    {"Data/Kuvat/Taustat/logo.jpg", &logoTexture},
    {"Data/Kuvat/Taustat/menu.jpg", &menuTexture},
    {"Data/Kuvat/Taustat/playmenu.jpg", &playMenuTexture},
    {"Data/Kuvat/Taustat/runtausta1.jpg", &levelBackground[1]},
    {"Data/Kuvat/Objektit/lauta.jpg", &boardTexture},
    {"Data/Kuvat/Objektit/Pallo.png", &ballTexture},
    {"Data/Kuvat/Objektit/1.jpg", &weightTextures[1]},
    {"Data/Kuvat/Objektit/2.jpg", &weightTextures[2]},
    {"Data/Kuvat/Objektit/3.jpg", &weightTextures[3]},
    {"Data/Kuvat/Objektit/4.jpg", &weightTextures[4]},
    {"Data/Kuvat/Objektit/5.jpg", &weightTextures[5]},
    {"Data/Kuvat/Objektit/6.jpg", &weightTextures[6]},
    {"Data/Kuvat/Objektit/7.jpg", &weightTextures[7]},
    {"Data/Kuvat/Objektit/8.jpg", &weightTextures[8]},
    {"Data/Kuvat/Objektit/9.jpg", &weightTextures[9]},
    {"Data/Kuvat/Objektit/10.jpg", &weightTextures[10]},
    {"Data/Kuvat/Taustat/runtausta2.jpg", &levelBackground[2]},
    {"Data/Kuvat/Objektit/ihqbox.jpg", &boxTexture},
    {"Data/Kuvat/Taustat/GO.jpg", &gameOverTexture},
    {"Data/Kuvat/Taustat/runtausta3.jpg", &levelBackground[3]},
    {"Data/Kuvat/Taustat/runtausta4.jpg", &levelBackground[4]},
    {"Data/Kuvat/Taustat/runtausta5.jpg", &levelBackground[5]},
    {"Data/Kuvat/Taustat/help.jpg", &helpTexture},
    {"Data/Kuvat/Taustat/Credits.jpg", &creditsTexture},
    {"Data/Kuvat/Taustat/loadgame.jpg", &levelSelectTexture},
};

ILubyte missingPicturePixel[3] = {0, 0, 0};

} // namespace

void startImageLibrary() {
    ilInit();
    ilutInit();
}

int loadTextures() {
    for (const PictureEntry& entry : pictureCatalogue) {
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        // A fresh image is one pixel whose value the library never sets, and a picture that
        // cannot be read leaves it so; given one black pixel first, such a slot draws plain black.
        ilTexImage(1, 1, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, missingPicturePixel);
        // A picture too large to decode safely is left out as an undecodable one is.
        if (pictureWithinLimits(entry.path)) {
            ilLoadImage(entry.path);
        }
        *entry.slot = ilutGLBindTexImage();
        ilDeleteImages(1, &image);
    }
    return 0;
}

void finishImageLibrary() {
    ilutRenderer(ILUT_OPENGL);
    if (!glIsEnabled(GL_TEXTURE_2D)) {
        glEnable(GL_TEXTURE_2D);
    }
}
