// Gamepad: who holds each key the pad can make, and the key events that follow.
#include "Gamepad.h"

namespace {

// The keys a pad makes, in the order of Gamepad::holders_.
constexpr SDLKey kPadKeys[Gamepad::kPadKeyCount] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE,
                               SDLK_a,  SDLK_b,    SDLK_r,    SDLK_t,     SDLK_e};

struct ButtonKey {
    int button;
    SDLKey sym;
};
constexpr ButtonKey kButtonKeys[] = {
    {0, SDLK_SPACE},  // A: boost
    {1, SDLK_b},      // B: Mode B
    {2, SDLK_a},      // X: Mode A
    {3, SDLK_r},      // Y: play again
    {6, SDLK_e},      // Back: leave
    {7, SDLK_t},      // Start: the title
};

constexpr int kHalfWay = 16384;  // of the stick's 32767 either way
constexpr int kStickX = 0;       // the left stick's axes
constexpr int kStickY = 1;

SDL_Event KeyEvent(SDLKey sym, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    return event;
}

}  // namespace

Gamepad& Gamepad::Shared() {
    static Gamepad pad;
    return pad;
}

void Gamepad::OpenAll() {
#ifndef SDL_JOYSTICK_DISABLED  // an SDL built without joysticks (the browser's) has no pads
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;  // no pads: the keyboard plays
    for (int i = 0; i < SDL_NumJoysticks(); ++i) SDL_JoystickOpen(i);  // SDL_Quit closes them
#endif
}

int Gamepad::KeyIndex(SDLKey sym) {
    for (int i = 0; i < kPadKeyCount; ++i) {
        if (kPadKeys[i] == sym) return i;
    }
    return -1;
}

void Gamepad::Set(SDLKey sym, unsigned holder, bool held, SDL_Event* keys, int* count) {
    unsigned& holders = holders_[KeyIndex(sym)];
    const bool wasHeld = holders != 0;
    holders = held ? holders | holder : holders & ~holder;
    if (wasHeld != (holders != 0)) keys[(*count)++] = KeyEvent(sym, !wasHeld);
}

void Gamepad::SetStickAxis(int pad, int axis, int value, SDL_Event* keys, int* count) {
    const unsigned stick = HolderBit(pad, kStick);
    const SDLKey less = axis == kStickX ? SDLK_LEFT : SDLK_UP;
    const SDLKey more = axis == kStickX ? SDLK_RIGHT : SDLK_DOWN;
    const bool lessHeld = value < -kHalfWay;
    const bool moreHeld = value > kHalfWay;
    // A release before a press: the game never sees both ways held at once.
    if (lessHeld) {
        Set(more, stick, false, keys, count);
        Set(less, stick, true, keys, count);
    } else {
        Set(less, stick, false, keys, count);
        Set(more, stick, moreHeld, keys, count);
    }
}

void Gamepad::SetHat(int pad, int hat, SDL_Event* keys, int* count) {
    const unsigned bit = HolderBit(pad, kHat);
    constexpr struct { int hatBit; SDLKey sym; } kWays[] = {
        {SDL_HAT_UP, SDLK_UP}, {SDL_HAT_DOWN, SDLK_DOWN}, {SDL_HAT_LEFT, SDLK_LEFT}, {SDL_HAT_RIGHT, SDLK_RIGHT}};
    for (const auto& way : kWays) {  // releases first, as the stick's
        if (!(hat & way.hatBit)) Set(way.sym, bit, false, keys, count);
    }
    for (const auto& way : kWays) {
        if (hat & way.hatBit) Set(way.sym, bit, true, keys, count);
    }
}

int Gamepad::AsKeys(const SDL_Event& event, SDL_Event* keys) {
    int count = 0;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (KeyIndex(event.key.keysym.sym) >= 0) {
            // The keyboard's events pass as they come, but for a release while a pad
            // still holds the key: the pad lets it go later.
            unsigned& holders = holders_[KeyIndex(event.key.keysym.sym)];
            const bool padHolds = (holders & ~kKeyboard) != 0;
            holders = event.type == SDL_KEYDOWN ? holders | kKeyboard : holders & ~kKeyboard;
            if (event.type == SDL_KEYUP && padHolds) break;
        }
        keys[count++] = event;
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event.jbutton.which >= kMaxPads) break;
        for (const ButtonKey& b : kButtonKeys) {
            if (b.button == event.jbutton.button) {
                Set(b.sym, HolderBit(event.jbutton.which, kButtons),
                    event.type == SDL_JOYBUTTONDOWN, keys, &count);
            }
        }
        break;
    case SDL_JOYHATMOTION:
        if (event.jhat.which < kMaxPads && event.jhat.hat == 0) {
            SetHat(event.jhat.which, event.jhat.value, keys, &count);
        }
        break;
    case SDL_JOYAXISMOTION:
        if (event.jaxis.which < kMaxPads && (event.jaxis.axis == kStickX || event.jaxis.axis == kStickY)) {
            SetStickAxis(event.jaxis.which, event.jaxis.axis, event.jaxis.value, keys, &count);
        }
        break;
    default:
        keys[count++] = event;
        break;
    }
    return count;
}
