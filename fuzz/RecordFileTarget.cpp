// Fuzz target: the record-file load. Each input becomes ./Rec.dat and goes through the
// game's own Game::LoadRecords; the records must be what two reads of at most six
// characters a line, each converted with atoi, make of those bytes.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzScratch.h"
#include "Game.h"

namespace {

constexpr size_t kLineChars = 6;  // a record line read takes at most six characters

// One fgets of size 7 over data from pos: up to six bytes, ending after a line feed.
// At the end of the data nothing is read and `line` keeps its text.
void ReadLine(const uint8_t* data, size_t size, size_t& pos, std::string& line) {
    if (pos >= size) return;
    std::string read;
    while (pos < size && read.size() < kLineChars) {
        const char c = static_cast<char>(data[pos++]);
        read += c;
        if (c == '\n') break;
    }
    line = read;
}

// atoi stops at the first zero byte, as it does in the game's buffer.
int Convert(const std::string& line) { return std::atoi(line.c_str()); }

Game& TheGame() {
    // One game for the whole run: start-up opens a display, which is too slow per input.
    static std::unique_ptr<Game> game = [] {
        fuzzsupport::EnterScratch();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        return std::make_unique<Game>();
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Game& game = TheGame();
    fuzzsupport::WriteInput("Rec.dat", data, size);

    std::strcpy(game.recordLine, "0");  // as at the very first load of a run
    game.LoadRecords();

    size_t pos = 0;
    std::string line = "0";
    ReadLine(data, size, pos, line);
    const int expectedA = Convert(line);
    ReadLine(data, size, pos, line);
    const int expectedB = Convert(line);

    if (game.recordMissing != 0) fuzzsupport::Fail("a readable file counted as missing");
    if (game.recordFile != nullptr) fuzzsupport::Fail("record file left open");
    if (!std::memchr(game.recordLine, '\0', sizeof game.recordLine))
        fuzzsupport::Fail("record line not terminated");
    if (game.recordA != expectedA)
        fuzzsupport::Fail("Mode A " + std::to_string(game.recordA) + ", expected " +
                          std::to_string(expectedA));
    if (game.recordB != expectedB)
        fuzzsupport::Fail("Mode B " + std::to_string(game.recordB) + ", expected " +
                          std::to_string(expectedB));
    return 0;
}
