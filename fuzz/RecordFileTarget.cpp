// Fuzz target: the record-file load. Each input becomes ./Rec.dat and goes through the
// game's own Game::LoadRecords; the records must be what the first two lines of the file's
// first kRecordReadLimit bytes make (after a UTF-8 byte-order mark), each converted like
// strtoll up to a zero byte and held to 0 .. INT_MAX, a missing line repeating the value
// before it.
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzScratch.h"
#include "Game.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The next line of data from pos, without its line feed. At the end of the data nothing
// is read and `line` keeps its text.
void ReadLine(const uint8_t* data, size_t size, size_t& pos, std::string& line) {
    if (pos >= size) return;
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data + pos, '\n', size - pos));
    const size_t stop = end ? static_cast<size_t>(end - data) : size;
    line.assign(reinterpret_cast<const char*>(data + pos), stop - pos);
    pos = end ? stop + 1 : size;
}

// The conversion stops at the first zero byte, as text does.
int Convert(const std::string& line) {
    return static_cast<int>(std::clamp<long long>(std::strtoll(line.c_str(), nullptr, 10), 0, INT_MAX));
}

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

    game.lastRecordLine = 0;  // as at the very first load of a run
    game.LoadRecords();

    size = std::min(size, kRecordReadLimit);  // the game reads no further
    const bool marked = size >= 3 && std::memcmp(data, kByteOrderMark, 3) == 0;
    size_t pos = marked ? 3 : 0;
    std::string line = "0";
    ReadLine(data, size, pos, line);
    const int expectedA = Convert(line);
    ReadLine(data, size, pos, line);
    const int expectedB = Convert(line);

    if (game.recordMissing != 0) fuzzsupport::Fail("a readable file counted as missing");
    if (game.recordFile != nullptr) fuzzsupport::Fail("record file left open");
    if (game.recordA != expectedA)
        fuzzsupport::Fail("Mode A " + std::to_string(game.recordA) + ", expected " +
                          std::to_string(expectedA));
    if (game.recordB != expectedB)
        fuzzsupport::Fail("Mode B " + std::to_string(game.recordB) + ", expected " +
                          std::to_string(expectedB));
    return 0;
}
