// Tuning: the numbers a round is played by — where the ship starts, how far it moves and
// may go, when it has crashed, the energy gauge and the speed steps. The game, the cave
// proof (assets/proof) and the tests all take them from here.
#pragma once

// The ship.
constexpr int kShipStep = 5;       // pixels per frame of an ordinary move
constexpr int kBoostFactor = 2;    // a boosted sideways move jumps 2 x step, through walls
constexpr int kShipStartX = 0;     // at the left edge of the screen
constexpr int kShipStartY = 154;   // the 12x12 box centred on the 320 rows
constexpr int kShipMaxX = 466;     // the right-hand clamp: a ship further right than this ...
constexpr int kShipClampedX = kShipMaxX + 1;  // ... is put here, one past it
constexpr int kLeftCrashX = -11;   // a ship further left than this has crashed
constexpr int kSlideAfterCrash = 10;  // the wreck slides left 10 pixels a frame

// Mode B: the strip shifts instead of the ship climbing.
constexpr int kVerticalStep = 5;   // pixels a frame
constexpr int kShiftCrash = 155;   // a strip shifted further than this has crashed

// The energy gauge.
constexpr int kGaugeMax = 89;      // full
constexpr int kBoostCost = 1;      // points per boosted frame
constexpr int kGaugePerItem = 10;
constexpr int kRegenBase = 25;     // frames per regained point: 25 - 2 * speed ...
constexpr int kRegenPerSpeed = 2;
constexpr int kRegenFastest = 3;   // ... never fewer than 3

// Speed.
constexpr int kStartSpeed = 1;     // every round starts scrolling 1 pixel a frame
constexpr int kScorePerSpeedStep = 1000;  // the scroll speed rises every 1000 points
