// The five level backgrounds. Each has its own landscape, kept calm where the blocks fall, and
// the same right-hand side bar: a panel under the HUD the game writes (white in levels 1 to 4,
// black in level 5) and the three in-level buttons.
#include "buttons.h"
#include "framed_screen.h"
#include "level_themes.h"
#include "painters.h"
#include "palette.h"
#include "scenery.h"
#include "shapes.h"

#include <algorithm>
#include <numbers>

namespace pictures {
namespace {

// The HUD lines' glyphs span up to x 855..1020 and y 35..205 on screen (about 15 above the top
// line's baseline and 5 below the bottom one's), so their panel is a tab that reaches over the mat
// to the right edge (the corners above and below it stay light). It stands out from the lines'
// start and outer baselines by the amounts below and runs on past the screen's right edge, so that
// its right-hand corners are cut off.
constexpr double hudPanelMarginLeft = 12.0;
constexpr double hudPanelReachAboveTopLine = 26.0;
constexpr double hudPanelReachBelowBottomLine = 18.0;
constexpr double hudPanelOverhang = 19.0;
constexpr Rect hudPanelAroundLines() {
    const double left = std::min({layout::hudLevelLabel.x, layout::hudBalance.x,
                                  layout::hudDifferential.x, layout::hudBlocksLeft.x}) -
                        hudPanelMarginLeft;
    const double top = layout::hudLevelLabel.baseline - hudPanelReachAboveTopLine;
    const double bottom = layout::hudBlocksLeft.baseline + hudPanelReachBelowBottomLine;
    return Rect{left, top, screenWidth + hudPanelOverhang - left, bottom - top};
}
constexpr Rect hudPanel = hudPanelAroundLines();
// A small balance stands over the "Balance" line, its beam (before its tilt) starting where the
// word does.
constexpr double hudEmblemHalfWidth = 52.0;
constexpr double hudEmblemCentreX = layout::hudBalance.x + hudEmblemHalfWidth;
// Its ball's centre stands hudEmblemBallRise above the line's baseline, and its beam turns about a
// point hudEmblemBeamRise above the ball's centre, just clear of the ball.
constexpr double hudEmblemBallRise = 38.0;
constexpr double hudEmblemBeamRise = 15.0;
constexpr double hudEmblemBallY = layout::hudBalance.baseline - hudEmblemBallRise;
constexpr double hudEmblemBeamY = hudEmblemBallY - hudEmblemBeamRise;

// The ground's top edge. Kept deliberately as the scenery's own: the game's ball runs on down past
// the screen's foot, so it never rests on this edge and there is nothing of play to tie it to; only
// the ball's shadow on the ground is placed under the ball.
constexpr double groundTop = 744.0;

// Each column's lane is wider than a block by laneSideMargin on each side and runs from laneTop,
// near the top of the screen, down to just short of the level board's top face.
constexpr double laneSideMargin = 6.0;
constexpr double laneTop = 14.0;
constexpr double laneGapAboveBoard = 3.5;
constexpr double laneBottom =
    static_cast<double>(layout::boardY) + layout::boardQuad.top - laneGapAboveBoard;

void paintMeadow(cairo_t* cr, const LevelTheme& theme) {
    paintSky(cr, {{0.0, theme.skyTop}, {600.0, theme.skyHorizon}});
    drawSun(cr, 110.0, 108.0, 34.0, hexColour(0xFFF6CF), hexColour(0xFFF0B0, 0.6));
    drawCloud(cr, 340.0, 150.0, 46.0, hexColour(0xFFFFFF, 0.85));
    drawCloud(cr, 690.0, 96.0, 36.0, hexColour(0xFFFFFF, 0.8));
    drawCloud(cr, 640.0, 300.0, 30.0, hexColour(0xFFFFFF, 0.6));
    drawHills(cr, HillLayer{575.0, 34.0, 760.0, 0.9, theme.farLand});
    drawHills(cr, HillLayer{640.0, 26.0, 560.0, 2.6, mix(theme.farLand, theme.nearLand, 0.5)});
    drawHills(cr, HillLayer{700.0, 16.0, 480.0, 4.4, theme.nearLand});
}

void paintDunes(cairo_t* cr, const LevelTheme& theme) {
    paintSky(cr, {{0.0, theme.skyTop}, {560.0, theme.skyHorizon}});
    drawSun(cr, 712.0, 330.0, 58.0, hexColour(0xFFF4D6), hexColour(0xFFE2A8, 0.55));
    drawHills(cr, HillLayer{570.0, 42.0, 980.0, 0.3, theme.farLand});
    drawHills(cr, HillLayer{640.0, 36.0, 720.0, 3.3, mix(theme.farLand, theme.nearLand, 0.5)});
    drawHills(cr, HillLayer{705.0, 22.0, 620.0, 5.0, theme.nearLand});
}

void paintLake(cairo_t* cr, const LevelTheme& theme) {
    constexpr double shore = 540.0;
    paintSky(cr, {{0.0, theme.skyTop}, {shore, theme.skyHorizon}});
    drawSun(cr, 130.0, shore - 8.0, 40.0, hexColour(0xFFC9A0), hexColour(0xFFB48A, 0.5));
    const MountainRange far{shore,
                            190.0,
                            5,
                            0x1A4E,
                            mix(theme.farLand, theme.skyHorizon, 0.45),
                            hexColour(0x000000, 0.0)};
    const MountainRange near{shore, 110.0, 7, 0x2B5F, theme.farLand, hexColour(0x000000, 0.0)};
    drawMountains(cr, far);
    drawMountains(cr, near);
    // The lake mirrors the sky and the mountains, darker, with a few streaks of light.
    fillVerticalGradient(cr, Rect{0.0, shore, screenWidth, 260.0},
                         mix(theme.skyHorizon, theme.farLand, 0.55),
                         mix(theme.skyTop, theme.ground, 0.6));
    cairo_save(cr);
    cairo_rectangle(cr, 0.0, shore, screenWidth, 260.0);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_translate(cr, 0.0, 2.0 * shore);
    cairo_scale(cr, 1.0, -1.0);
    drawMountains(cr, far);
    drawMountains(cr, near);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.35);
    cairo_restore(cr);
    for (int streak = 0; streak < 9; ++streak) {
        const double y = shore + 10.0 + streak * 17.0;
        const double width = 120.0 - streak * 9.0;
        fillRoundedRectangle(cr, Rect{130.0 - width / 2.0, y, width, 2.5}, 1.2,
                             hexColour(0xFFD2B0, 0.5 - streak * 0.04));
    }
    drawHills(cr, HillLayer{712.0, 14.0, 520.0, 1.7, theme.nearLand});
}

void paintNight(cairo_t* cr, const LevelTheme& theme) {
    paintSky(cr, {{0.0, theme.skyTop}, {620.0, theme.skyHorizon}});
    drawStars(cr, Rect{0.0, 0.0, screenWidth, 560.0}, 230, 0x5A75, hexColour(0xEAF0FF, 0.9));
    drawCrescentMoon(cr, 128.0, 112.0, 38.0, hexColour(0xFFF3C9));
    drawHills(cr, HillLayer{600.0, 36.0, 820.0, 1.4, theme.farLand});
    drawHills(cr, HillLayer{690.0, 22.0, 540.0, 3.9, theme.nearLand});
}

void paintSnowfield(cairo_t* cr, const LevelTheme& theme) {
    paintSky(cr, {{0.0, theme.skyTop}, {560.0, theme.skyHorizon}});
    drawSun(cr, 150.0, 120.0, 30.0, hexColour(0xFFFFFF), hexColour(0xFFFBEA, 0.7));
    drawMountains(cr,
                  MountainRange{600.0, 300.0, 4, 0x5110, hexColour(0xC9D8E7), hexColour(0xF8FBFE)});
    drawMountains(cr,
                  MountainRange{620.0, 170.0, 6, 0x5111, hexColour(0xB3C7DA), hexColour(0xEEF4FA)});
    drawHills(cr, HillLayer{650.0, 24.0, 640.0, 2.2, theme.farLand});
    drawHills(cr, HillLayer{705.0, 14.0, 520.0, 4.1, theme.nearLand});
    drawSnowflakes(cr, Rect{0.0, 0.0, screenWidth, 700.0}, 110, 0x5A0F, hexColour(0xFFFFFF, 0.9));
    drawSnowflakes(cr, Rect{0.0, 0.0, screenWidth, 700.0}, 60, 0x5A1F, hexColour(0xA9BED3, 0.5));
}

// Faint lanes where the blocks fall, with a small arrow at the top of each.
void drawColumnLanes(cairo_t* cr, bool lightScene) {
    const Colour lane = lightScene ? hexColour(0x2E4052, 0.04) : hexColour(0xFFFFFF, 0.05);
    const Colour arrow = lightScene ? hexColour(0x2E4052, 0.3) : hexColour(0xFFFFFF, 0.35);
    constexpr double columnWidth = layout::blockWidth;
    for (double x : {layout::leftColumnX, layout::rightColumnX}) {
        fillRoundedRectangle(cr,
                             Rect{x - laneSideMargin, laneTop, columnWidth + 2.0 * laneSideMargin,
                                  laneBottom - laneTop},
                             8.0, lane);
        const double mid = x + columnWidth / 2.0;
        const double arrowTop = laneTop + 8.0;
        cairo_new_path(cr);
        cairo_move_to(cr, mid - 8.0, arrowTop);
        cairo_line_to(cr, mid + 8.0, arrowTop);
        cairo_line_to(cr, mid, arrowTop + 10.0);
        cairo_close_path(cr);
        setSource(cr, arrow);
        cairo_fill(cr);
    }
}

void drawGround(cairo_t* cr, const LevelTheme& theme) {
    cairo_new_path(cr);
    cairo_rectangle(cr, 0.0, groundTop, screenWidth, 400.0);
    setSource(cr, theme.ground);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, 0.0, groundTop, screenWidth, 2.0);
    setSource(cr, hexColour(0xFFFFFF, 0.18));
    cairo_fill(cr);
    // The ball's shadow: the game draws the ball over the middle of it.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, onScreen(layout::ballQuad).centreX(), groundTop + 6.0);
    cairo_scale(cr, 66.0, 8.0);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(cr);
    setSource(cr, hexColour(0x000000, 0.28));
    cairo_fill(cr);
}

// A little seesaw between the level name and the balance lines of the HUD.
void drawHudEmblem(cairo_t* cr, bool lightPanel) {
    const Colour emblem = lightPanel ? hexColour(0x6F8598) : hexColour(0x8FA6BA);
    const double x = hudEmblemCentreX;
    cairo_new_path(cr);
    cairo_arc(cr, x, hudEmblemBallY, 11.0, 0.0, 2.0 * std::numbers::pi);
    setSource(cr, emblem);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, x, hudEmblemBeamY);
    cairo_rotate(cr, 0.12); // the heavier right end lower, as in play
    fillRoundedRectangle(cr, Rect{-hudEmblemHalfWidth, -3.0, 2.0 * hudEmblemHalfWidth, 6.0}, 3.0,
                         emblem);
    fillRoundedRectangle(cr, Rect{-46.0, -19.0, 12.0, 16.0}, 2.0, emblem);
    fillRoundedRectangle(cr, Rect{34.0, -19.0, 12.0, 16.0}, 2.0, emblem);
    fillRoundedRectangle(cr, Rect{34.0, -35.0, 12.0, 16.0}, 2.0, withAlpha(emblem, 0.7));
    cairo_restore(cr);
}

void drawHudTab(cairo_t* cr, bool lightScene) {
    drawSoftShadow(cr, hudPanel, 12.0, 10.0, 0.3);
    drawPanel(cr, hudPanel, lightScene ? PanelTone::Light : PanelTone::Dark, 12.0);
    drawHudEmblem(cr, lightScene);
}

void drawLevelButtons(cairo_t* cr, int level, bool lightScene) {
    const PanelTone tone = lightScene ? PanelTone::Light : PanelTone::Dark;
    const layout::LevelButtons& buttons = layout::levelButtons[level - 1];
    const Rect startOver = drawnArea(buttons.startOver);
    const Rect levelSelect = drawnArea(buttons.levelSelect);
    const Rect mainMenu = drawnArea(buttons.mainMenu);
    const Rect panel{startOver.x - 10.0, startOver.y - 10.0, startOver.width + 20.0,
                     mainMenu.bottom() - startOver.y + 20.0};
    drawSoftShadow(cr, panel, 10.0, 10.0, 0.3);
    drawPanel(cr, panel, tone, 10.0);
    constexpr double labelSize = 11.0;
    drawButton(cr, startOver, "New game", labelSize);
    drawButton(cr, levelSelect, "Levels", labelSize);
    drawButton(cr, mainMenu, "Menu", labelSize);
}

void paintLevelScene(cairo_t* cr, int level) {
    const LevelTheme& theme = levelTheme(level);
    switch (level) {
    case 1:
        paintMeadow(cr, theme);
        break;
    case 2:
        paintDunes(cr, theme);
        break;
    case 3:
        paintLake(cr, theme);
        break;
    case 4:
        paintNight(cr, theme);
        break;
    default:
        paintSnowfield(cr, theme);
        break;
    }
    drawColumnLanes(cr, theme.lightHud);
    drawGround(cr, theme);
    drawLevelButtons(cr, level, theme.lightHud);
}

template <int Level> void paintLevelSceneOf(cairo_t* cr) {
    paintLevelScene(cr, Level);
}
template <int Level> void paintHudTabOf(cairo_t* cr) {
    drawHudTab(cr, levelTheme(Level).lightHud);
}

} // namespace

void paintLevelBackground(Canvas& canvas, int level) {
    constexpr ScenePainter scenes[] = {paintLevelSceneOf<1>, paintLevelSceneOf<2>,
                                       paintLevelSceneOf<3>, paintLevelSceneOf<4>,
                                       paintLevelSceneOf<5>};
    constexpr ScenePainter tabs[] = {paintHudTabOf<1>, paintHudTabOf<2>, paintHudTabOf<3>,
                                     paintHudTabOf<4>, paintHudTabOf<5>};
    const std::size_t index = (level >= 1 && level <= 5) ? static_cast<std::size_t>(level - 1) : 0;
    paintFramedScreen(canvas, scenes[index], tabs[index]);
}

} // namespace pictures
