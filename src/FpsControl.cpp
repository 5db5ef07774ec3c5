// FpsControl: frame boundaries lie on a 16 ms grid while frames finish in time; a late
// frame moves the grid to its own end and no frame is hurried to catch up.
#include "FpsControl.h"

#include <cstdio>

FpsControl::FpsControl(Clock clock, Sleep sleep)
    : lastTime(0), reportTime(0), frameCount(0), clock_(clock), sleep_(sleep) {}

void FpsControl::FpsWait() {
    // Unsigned arithmetic throughout: it wraps the same way the tick counter does.
    nowTime = clock_();
    waitTime = lastTime - nowTime + kFrameMs;
    if (lastTime + kFrameMs > nowTime) {
        sleep_(waitTime);
        lastTime = nowTime + waitTime;  // the old boundary + 16, whatever the sleep took
    } else {
        lastTime = nowTime;
    }
}

void FpsControl::FpsDisplay() {
    ++frameCount;
    if (reportTime + kReportEveryMs < clock_()) {
        printf("%dFPS\n", frameCount);
        frameCount = 0;
        reportTime = clock_();
    }
}
