// Gamepad: turns gamepad events into the key events the keyboard makes, so that the game
// cannot tell a pad from the keyboard. The mapping is the web page's: the D-pad, or the
// left stick past half-way, steers (arrows); A boosts (space); X and B choose Mode A and
// Mode B (a, b); Y plays again (r), Start goes to the title (t), Back leaves (e).
// Buttons are numbered as SDL gives an XInput pad on every desktop runtime (Linux's
// xpad, SDL2's raw joystick and Windows' winmm alike): A 0, B 1, X 2, Y 3, Back 6, Start 7.
#pragma once
#include <SDL.h>

class Gamepad {
public:
    // A stick event can release one arrow and press the other; a hat event all four.
    static constexpr int kMaxKeysPerEvent = 4;
    static constexpr int kPadKeyCount = 10;  // arrows, space, a, b, r, t, e

    // The one gamepad state of the program: a key held across screens stays held, as
    // the keyboard's does.
    static Gamepad& Shared();

    // Opens every pad connected now: SDL 1.2 sees no pad plugged in later. An SDL built
    // without joystick support (the browser's, whose page turns pads into keys itself)
    // opens none.
    void OpenAll();

    // The key events `event` comes to, in order, into `keys`; returns how many. A key
    // held by the keyboard and a pad (or two controls of a pad) is released once, when the
    // last lets go; a pad presses a key only when nothing held it. The keyboard's own
    // presses, and all events other than keys and pads, come back unchanged.
    int AsKeys(const SDL_Event& event, SDL_Event* keys);

private:
    // Who holds a key: the keyboard, or one control (buttons, hat, stick) of a pad.
    static constexpr unsigned kKeyboard = 1;
    static constexpr int kControlsPerPad = 3;
    static constexpr int kMaxPads = 8;  // more than the bits of `holders_` can tell apart
    enum Control { kButtons = 0, kHat = 1, kStick = 2 };

    static unsigned HolderBit(int pad, Control control) {
        return kKeyboard << (1 + pad * kControlsPerPad + control);
    }
    static int KeyIndex(SDLKey sym);  // -1 for a key no pad makes

    // Holds or lets go of `sym` for `holder`; adds the key event this makes, if any.
    void Set(SDLKey sym, unsigned holder, bool held, SDL_Event* keys, int* count);
    void SetStickAxis(int pad, int axis, int value, SDL_Event* keys, int* count);
    void SetHat(int pad, int hat, SDL_Event* keys, int* count);

    unsigned holders_[kPadKeyCount] = {};  // per key of KeyIndex: the holders' bits
};
