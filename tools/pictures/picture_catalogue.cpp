#include "picture_catalogue.h"

#include "painters.h"

namespace pictures {
namespace {

constexpr int fullSize = 1024;

template <int Level> void paintLevel(Canvas& canvas) {
    paintLevelBackground(canvas, Level);
}
template <int Weight> void paintWeight(Canvas& canvas) {
    paintBlock(canvas, Weight);
}

constexpr CatalogueEntry screen(std::string_view path, void (*paint)(Canvas&)) {
    return CatalogueEntry{path, fullSize, fullSize, PictureKind::Jpeg, true, paint};
}
// Blocks are drawn 25 x 40; 32 x 64 keeps them a little above that for plain linear filtering.
constexpr CatalogueEntry block(std::string_view path, void (*paint)(Canvas&)) {
    return CatalogueEntry{path, 32, 64, PictureKind::Jpeg, false, paint};
}

} // namespace

const std::array<CatalogueEntry, pictureCount> pictureCatalogue{{
    screen("Kuvat/Taustat/logo.jpg", paintLogo),
    screen("Kuvat/Taustat/menu.jpg", paintMainMenu),
    screen("Kuvat/Taustat/playmenu.jpg", paintPlayMenu),
    screen("Kuvat/Taustat/runtausta1.jpg", paintLevel<1>),
    screen("Kuvat/Taustat/runtausta2.jpg", paintLevel<2>),
    screen("Kuvat/Taustat/runtausta3.jpg", paintLevel<3>),
    screen("Kuvat/Taustat/runtausta4.jpg", paintLevel<4>),
    screen("Kuvat/Taustat/runtausta5.jpg", paintLevel<5>),
    screen("Kuvat/Taustat/GO.jpg", paintGameOver),
    screen("Kuvat/Taustat/help.jpg", paintHelp),
    screen("Kuvat/Taustat/Credits.jpg", paintCredits),
    screen("Kuvat/Taustat/loadgame.jpg", paintLevelSelect),
    // Drawn 400 x 15 with the upper 74.5 % of its rows shown.
    CatalogueEntry{"Kuvat/Objektit/lauta.jpg", 512, 32, PictureKind::Jpeg, false, paintBoard},
    // Drawn 500 x 100 with the upper 74.5 % of its rows shown.
    CatalogueEntry{"Kuvat/Objektit/ihqbox.jpg", 512, 256, PictureKind::Jpeg, false,
                   paintCompletionBox},
    block("Kuvat/Objektit/1.jpg", paintWeight<1>),
    block("Kuvat/Objektit/2.jpg", paintWeight<2>),
    block("Kuvat/Objektit/3.jpg", paintWeight<3>),
    block("Kuvat/Objektit/4.jpg", paintWeight<4>),
    block("Kuvat/Objektit/5.jpg", paintWeight<5>),
    block("Kuvat/Objektit/6.jpg", paintWeight<6>),
    block("Kuvat/Objektit/7.jpg", paintWeight<7>),
    block("Kuvat/Objektit/8.jpg", paintWeight<8>),
    block("Kuvat/Objektit/9.jpg", paintWeight<9>),
    block("Kuvat/Objektit/10.jpg", paintWeight<10>),
    // Drawn 100 x 100, blended by its own alpha.
    CatalogueEntry{"Kuvat/Objektit/Pallo.png", 128, 128, PictureKind::PngWithAlpha, false,
                   paintBall},
}};

} // namespace pictures
