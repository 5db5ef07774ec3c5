// Gamepad: a pad's buttons, hat and stick become the keyboard's key events, with the web
// page's mapping, and a key held by several controls is released once, by the last.
#include <gtest/gtest.h>

#include <vector>

#include "Gamepad.h"

namespace {

SDL_Event Button(int pad, int button, bool down) {
    SDL_Event e{};
    e.type = e.jbutton.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = static_cast<Uint8>(pad);
    e.jbutton.button = static_cast<Uint8>(button);
    return e;
}
SDL_Event Hat(int pad, int value) {
    SDL_Event e{};
    e.type = e.jhat.type = SDL_JOYHATMOTION;
    e.jhat.which = static_cast<Uint8>(pad);
    e.jhat.value = static_cast<Uint8>(value);
    return e;
}
SDL_Event Axis(int pad, int axis, int value) {
    SDL_Event e{};
    e.type = e.jaxis.type = SDL_JOYAXISMOTION;
    e.jaxis.which = static_cast<Uint8>(pad);
    e.jaxis.axis = static_cast<Uint8>(axis);
    e.jaxis.value = static_cast<Sint16>(value);
    return e;
}
SDL_Event Key(SDLKey sym, bool down) {
    SDL_Event e{};
    e.type = e.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = sym;
    return e;
}

struct Step {
    const char* what;
    SDL_Event event;
    std::vector<std::pair<int, SDLKey>> keys;  // the key events expected: +1 down, -1 up
};

constexpr int kDown = 1, kUp = -1;
constexpr int kA = 0, kB = 1, kX = 2, kY = 3, kLeftShoulder = 4, kBack = 6, kStart = 7;

}  // namespace

TEST(Gamepad, ButtonsHatAndStickAreTheGamesKeysAndSharedKeysAreReleasedByTheLastHolder) {
    const std::vector<Step> steps = {
        {"A boosts", Button(0, kA, true), {{kDown, SDLK_SPACE}}},
        {"A let go", Button(0, kA, false), {{kUp, SDLK_SPACE}}},
        {"X is Mode A", Button(0, kX, true), {{kDown, SDLK_a}}},
        {"B is Mode B", Button(0, kB, true), {{kDown, SDLK_b}}},
        {"Y plays again", Button(0, kY, true), {{kDown, SDLK_r}}},
        {"Start is the title", Button(0, kStart, true), {{kDown, SDLK_t}}},
        {"Back leaves", Button(0, kBack, false), {}},  // never pressed: nothing to let go
        {"Back leaves", Button(0, kBack, true), {{kDown, SDLK_e}}},
        {"a shoulder is no key", Button(0, kLeftShoulder, true), {}},
        {"the D-pad up and left", Hat(0, SDL_HAT_LEFTUP), {{kDown, SDLK_UP}, {kDown, SDLK_LEFT}}},
        {"the D-pad from up-left to down", Hat(0, SDL_HAT_DOWN), {{kUp, SDLK_UP}, {kUp, SDLK_LEFT}, {kDown, SDLK_DOWN}}},
        {"the D-pad let go", Hat(0, SDL_HAT_CENTERED), {{kUp, SDLK_DOWN}}},
        {"the stick past half-way left", Axis(0, 0, -16385), {{kDown, SDLK_LEFT}}},
        {"the stick short of half-way", Axis(0, 0, -16384), {{kUp, SDLK_LEFT}}},
        {"the stick from right to left", Axis(0, 0, 20000), {{kDown, SDLK_RIGHT}}},
        {"... releases first", Axis(0, 0, -20000), {{kUp, SDLK_RIGHT}, {kDown, SDLK_LEFT}}},
        {"the stick down", Axis(0, 1, 32767), {{kDown, SDLK_DOWN}}},
        {"the right stick is no key", Axis(0, 2, -32768), {}},
        {"the keyboard joins the stick's left", Key(SDLK_LEFT, true), {{kDown, SDLK_LEFT}}},
        {"the stick lets go, the keyboard holds", Axis(0, 0, 0), {}},
        {"the D-pad of a second pad joins", Hat(1, SDL_HAT_LEFT), {}},
        {"the keyboard's repeat of a held key passes", Key(SDLK_LEFT, true), {{kDown, SDLK_LEFT}}},
        {"the keyboard lets go, the second pad holds", Key(SDLK_LEFT, false), {}},
        {"the last holder lets go", Hat(1, SDL_HAT_CENTERED), {{kUp, SDLK_LEFT}}},
        {"the keyboard alone", Key(SDLK_SPACE, true), {{kDown, SDLK_SPACE}}},
        {"a release the keyboard never pressed passes", Key(SDLK_UP, false), {{kUp, SDLK_UP}}},
        {"A joins the keyboard's space: no second press", Button(0, kA, true), {}},
        {"other keys pass", Key(SDLK_ESCAPE, true), {{kDown, SDLK_ESCAPE}}},
    };
    Gamepad pad;
    for (const Step& step : steps) {
        SDL_Event out[Gamepad::kMaxKeysPerEvent];
        const int count = pad.AsKeys(step.event, out);
        std::vector<std::pair<int, SDLKey>> got;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(out[i].key.type, out[i].type) << step.what;
            got.emplace_back(out[i].type == SDL_KEYDOWN ? kDown : kUp, out[i].key.keysym.sym);
        }
        EXPECT_EQ(got, step.keys) << step.what;
    }
    SDL_Event quit{}, out[Gamepad::kMaxKeysPerEvent];
    quit.type = SDL_QUIT;
    ASSERT_EQ(pad.AsKeys(quit, out), 1);
    EXPECT_EQ(out[0].type, SDL_QUIT);
}
