// The game's 25 pictures and the texture slot each is loaded into, in loading order: written out
// here on their own, so that the tests check the game's catalogue rather than repeat it.
#pragma once

#include "assets/assets.h"

namespace expected {

struct PictureSlot {
    const char* path;
    unsigned int* slot;
};

inline const PictureSlot pictureSlots[] = {
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

constexpr int PictureCount = static_cast<int>(sizeof pictureSlots / sizeof pictureSlots[0]);

} // namespace expected
