// Quenmarsh: look after a chip in the marsh.
#include "game/game_loop.h"
#include "shell/intro.h"
#include "shell/platform.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    (void)argc;
    if (!startUp(argv[0])) {
        shutDown();
        gameEnded(-1);
        return -1;
    }
    // An ending signal during the intro ends the game at the loop's first pass; a lost display
    // before the progress is loaded has nothing to save.
    watchEndSignals();
    watchDisplayConnection(nullptr);
    runIntro();
    runGameLoop();
    shutDown();
    gameEnded(0);
    return 0;
}
