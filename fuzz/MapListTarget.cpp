// Fuzz target: the map-list read. Each input becomes ./image/mapImg/map.dat and a Map is
// built from it (no display needed); the names it took must be the list's first twenty
// white-space separated names, an over-long one refused whole and never loaded, each
// slot's console line naming the name it took.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "Map.h"

namespace {

using Name = std::array<char, kMapNameMax + 1>;

struct SlotName {
    Name name{};
    bool refused = false;
};

// The same white space as fscanf's "%s" in the C locale.
bool IsSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// What each of the twenty slots must have been given: a slot that finds no further name
// keeps the name (and the refusal) of the slot before.
std::vector<SlotName> ExpectedSlots(const uint8_t* data, size_t size) {
    std::vector<SlotName> slots;
    SlotName last;
    size_t pos = 0;
    for (int slot = 0; slot < kMapCount; ++slot) {
        while (pos < size && IsSpace(data[pos])) ++pos;
        const size_t start = pos;
        while (pos < size && !IsSpace(data[pos])) ++pos;
        if (pos > start) {
            const size_t length = pos - start;
            last.name.fill('\0');
            std::memcpy(last.name.data(), data + start,
                        length < static_cast<size_t>(kMapNameMax) ? length : kMapNameMax);
            last.refused = length > static_cast<size_t>(kMapNameMax);
        }
        slots.push_back(last);
    }
    return slots;
}

// Runs `build` with standard output going to a file, and returns what it printed.
template <typename F>
std::string Console(F build) {
    static FILE* capture = std::tmpfile();
    std::fflush(stdout);
    const int saved = dup(1);
    if (ftruncate(fileno(capture), 0) != 0 || lseek(fileno(capture), 0, SEEK_SET) != 0 ||
        dup2(fileno(capture), 1) < 0)
        fuzzsupport::Fail("cannot capture the console");
    build();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = pread(fileno(capture), buf, sizeof buf, text.size())) > 0;)
        text.append(buf, n);
    return text;
}

// The slot's line names exactly the name it took (up to a zero byte, as printf shows it).
void CheckSlotLine(const std::string& line, const SlotName& want, bool loaded, int slot) {
    const std::string name(want.name.data());
    const std::string expected = loaded ? "OK: MapFile [" + name + "] was successfully loaded."
                                        : "Error: [" + name + "] could not be loaded.";
    if (line != expected)
        fuzzsupport::Fail("slot " + std::to_string(slot) + " printed [" + line + "], expected [" +
                          expected + "]");
}

void MakeListFolder() {
    static bool made = false;
    if (made) return;
    fuzzsupport::EnterScratch();
    mkdir("image", 0755);
    mkdir("image/mapImg", 0755);
    made = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MakeListFolder();
    fuzzsupport::WriteInput("image/mapImg/map.dat", data, size);

    const std::vector<SlotName> expected = ExpectedSlots(data, size);
    std::unique_ptr<Map> built;
    const std::string console = Console([&] { built = std::make_unique<Map>(); });
    const Map& map = *built;

    const std::string head = "OK: MapDataFile was successfully loaded.\n\n";
    if (console.compare(0, head.size(), head) != 0) fuzzsupport::Fail("no list line: " + console);
    size_t at = head.size();

    if (map.listFile != nullptr) fuzzsupport::Fail("map list left open");
    if (std::memcmp(map.mapName, expected.back().name.data(), sizeof map.mapName) != 0)
        fuzzsupport::Fail(std::string("last name read is [") + map.mapName + "]");
    for (int slot = 0; slot < kMapCount; ++slot) {
        const SlotName& want = expected[slot];
        const bool mayLoad = !want.refused && want.name[0] != '\0';
        if (map.mapImage[slot] && !mayLoad)
            fuzzsupport::Fail("slot " + std::to_string(slot) + " loaded a refused or empty name");
        const size_t end = console.find('\n', at);
        if (end == std::string::npos) fuzzsupport::Fail("console ends early");
        CheckSlotLine(console.substr(at, end - at), want, map.mapImage[slot] != nullptr, slot);
        at = end + 1;
    }
    if (console.compare(at, std::string::npos, std::string(65, '_') + "\n") != 0)
        fuzzsupport::Fail("no separator after the twentieth line");
    if (map.current != 0 || map.next != 0 || map.scroll != 0 || map.speed != 1)
        fuzzsupport::Fail("strip not reset after reading the list");
    return 0;
}
