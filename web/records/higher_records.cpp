// The page's way into the game's own record file code (src/Game.cpp): the browser keeps
// Rec.dat in IndexedDB and in localStorage, and merges the copies with this, so the page
// reads and writes the records exactly as the game does. Exported to comet-pre.js.
#include <emscripten.h>

#include <cstdio>

#include "Game.h"

// `own` and `other` are the bytes of two record files. When `other` holds a higher record
// of either mode, writes to `out` both modes' higher records as the game writes them and
// returns their length; returns 0 when `own` is to stay as it is (nothing higher, or
// `own` holds no record to merge with).
extern "C" EMSCRIPTEN_KEEPALIVE int comet_higher_records(const char* own, int ownSize, const char* other,
                                                         int otherSize, char* out, int outSize) {
    int a = 0, b = 0;
    if (ReadRecordText(own, ownSize, &a, &b) == 0) return 0;
    if (!KeepHigherRecords(other, otherSize, &a, &b)) return 0;
    const int length = std::snprintf(out, outSize, kRecordFormat, a, b);
    return length > 0 && length < outSize ? length : 0;
}
