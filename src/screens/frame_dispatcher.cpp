#include "game/game.h"
#include "screens/screens.h"

std::uint32_t GameState = Logo;

int FrameDispatcher() {
    const std::uint32_t shown = GameState;
    switch (GameState) {
    case Logo:
        logoFrame();
        break;
    case MainMenu:
        mainMenuFrame();
        break;
    case PlayMenu:
        playMenuFrame();
        break;
    case Help:
        helpFrame();
        break;
    case GameOver:
        gameOverFrame();
        break;
    case Level1Setup:
        setupLevel1();
        break;
    case Level1Play:
        playLevelFrame(1);
        break;
    case Level1Complete:
        completeLevel(1);
        break;
    case Level2Play:
        playLevelFrame(2);
        break;
    case Level2Complete:
        completeLevel(2);
        break;
    case Level3Play:
        playLevelFrame(3);
        break;
    case Level3Complete:
        completeLevel(3);
        break;
    case Level4Play:
        playLevelFrame(4);
        break;
    case Level4Complete:
        completeLevel(4);
        break;
    case Level5Play:
        playLevelFrame(5);
        break;
    case Credits:
        creditsFrame();
        break;
    case LevelSelect:
        levelSelectFrame();
        break;
    default:
        // Any other value: a frame that does nothing at all.
        break;
    }
    if (GameState != shown) {
        forgetFocus(); // whatever screen comes next, its focus starts afresh
    }
    return 0;
}
