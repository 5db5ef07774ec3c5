/* rand.c: srand and rand as the desktop's C library (glibc) computes them, for the
   browser build. Emscripten's C library (musl) has a different generator, so the same
   seed would pick other caves, stars and items; with this one a seed plays the same game
   in both builds, which the frame-checksum test relies on. The algorithm is glibc's
   default: an additive feedback generator, r[i] = r[i-3] + r[i-31], seeded by a
   Park-Miller sequence and run 310 steps before the first result. */
#include <stdint.h>
#include <stdlib.h>

enum { kDegree = 31, kSeparation = 3, kWarmUp = 310, kRing = 34 };

static int32_t ring[kRing];  /* the last 34 values of r */
static unsigned step;        /* index of the next r to compute */

static int32_t NextR(void)
{
    const int32_t r = (int32_t)((uint32_t)ring[(step - kDegree) % kRing] +
                                (uint32_t)ring[(step - kSeparation) % kRing]);
    ring[step % kRing] = r;
    ++step;
    return r;
}

void srand(unsigned seed)
{
    int32_t word = seed == 0 ? 1 : (int32_t)seed;
    int i;
    ring[0] = word;
    for (i = 1; i < kDegree; ++i) {
        /* 16807 * word % 2147483647, without overflowing 31 bits (Schrage's method) */
        const long hi = word / 127773, lo = word % 127773;
        word = (int32_t)(16807 * lo - 2836 * hi);
        if (word < 0) word += 2147483647;
        ring[i] = word;
    }
    for (i = kDegree; i < kRing; ++i) ring[i] = ring[i - kDegree];
    step = kRing;
    for (i = kRing; i < kRing + kWarmUp; ++i) NextR();
}

int rand(void)
{
    if (step == 0) srand(1);  /* as if seeded with 1, like any C library */
    return (int)((uint32_t)NextR() >> 1);
}
