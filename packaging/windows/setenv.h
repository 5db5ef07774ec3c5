// setenv for the frame-sums driver on Windows, whose C runtime names it _putenv_s.
// packaging/windows/Makefile includes this before tests/golden/frame_sums.cpp.
#pragma once
#include <stdlib.h>

inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
