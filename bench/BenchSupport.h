// Bench support: the one Game every benchmark draws with. SDL is started once per
// process, and the game's data is read from the build folder's image/.
#pragma once
#include "Game.h"

namespace bench {

// Built on first use, after main has moved into the build folder.
Game& SharedGame();

}  // namespace bench
