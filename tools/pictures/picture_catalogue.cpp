#include "picture_catalogue.h"

#include "painters.h"

#include "layout/layout.h"

namespace pictures {
namespace {

constexpr int fullSize = 1024;

// The catalogue names each picture as it lies under the data folder.
constexpr std::string_view inData(const char* gamePath) {
    return layout::underDataFolder(gamePath);
}

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
    screen(inData(layout::logoPicture), paintLogo),
    screen(inData(layout::menuPicture), paintMainMenu),
    screen(inData(layout::playMenuPicture), paintPlayMenu),
    screen(inData(layout::levelBackgroundPictures[1]), paintLevel<1>),
    screen(inData(layout::levelBackgroundPictures[2]), paintLevel<2>),
    screen(inData(layout::levelBackgroundPictures[3]), paintLevel<3>),
    screen(inData(layout::levelBackgroundPictures[4]), paintLevel<4>),
    screen(inData(layout::levelBackgroundPictures[5]), paintLevel<5>),
    screen(inData(layout::gameOverPicture), paintGameOver),
    screen(inData(layout::helpPicture), paintHelp),
    screen(inData(layout::creditsPicture), paintCredits),
    screen(inData(layout::levelSelectPicture), paintLevelSelect),
    // Drawn 400 x 15 with the upper 74.5 % of its rows shown.
    CatalogueEntry{inData(layout::boardPicture), 512, 32, PictureKind::Jpeg, false, paintBoard},
    // Drawn 500 x 100 with the upper 74.5 % of its rows shown.
    CatalogueEntry{inData(layout::completionBoxPicture), 512, 256, PictureKind::Jpeg, false,
                   paintCompletionBox},
    block(inData(layout::weightPictures[1]), paintWeight<1>),
    block(inData(layout::weightPictures[2]), paintWeight<2>),
    block(inData(layout::weightPictures[3]), paintWeight<3>),
    block(inData(layout::weightPictures[4]), paintWeight<4>),
    block(inData(layout::weightPictures[5]), paintWeight<5>),
    block(inData(layout::weightPictures[6]), paintWeight<6>),
    block(inData(layout::weightPictures[7]), paintWeight<7>),
    block(inData(layout::weightPictures[8]), paintWeight<8>),
    block(inData(layout::weightPictures[9]), paintWeight<9>),
    block(inData(layout::weightPictures[10]), paintWeight<10>),
    // Drawn 100 x 100, blended by its own alpha.
    CatalogueEntry{inData(layout::ballPicture), 128, 128, PictureKind::PngWithAlpha, false,
                   paintBall},
}};

} // namespace pictures
