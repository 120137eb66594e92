// Quenmarsh: look after a chip in the marsh.
#include "game/game_loop.h"
#include "shell/intro.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    (void)argc;
    if (!startUp(argv[0])) {
        shutDown();
        return -1;
    }
    runIntro();
    runGameLoop();
    shutDown();
    return 0;
}
