// Main: the entry point and the main loop — records, title when wanted, one round.
#include <cstdio>

#include "Game.h"
#include "Platform.h"

int main(int, char*[]) {  // the signature SDL's main on Windows needs
    platform::ShowConsoleLinesAsTheyHappen();

    Game game;
    if (!game.Ready()) return 1;  // no window or no sprites: nothing can be played

    int showTitle = 1;
    for (;;) {
        if (game.GameInit() == -1) {
            puts("Error: GameInit Failed.");
            break;
        }
        if (showTitle) {
            showTitle = 0;
            game.Title();
            if (game.quit) break;
        }
        game.GameMain(&showTitle);
        if (game.quit) break;
    }
    return 0;
}
