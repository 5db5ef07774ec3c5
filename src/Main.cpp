// Main: the entry point — console lines as they happen, one Game, its main loop.
#include "Game.h"
#include "Platform.h"

int main(int, char*[]) {  // the signature SDL's main on Windows needs
    platform::ShowConsoleLinesAsTheyHappen();
    Game game;
    return game.RunGame();
}
