// FuzzScratch: a private working folder for one fuzz process, made at the first input
// and removed at exit, so the targets can write the files the game reads by fixed paths.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// Makes the folder (once) and makes it the working directory.
void EnterScratch();
// Writes `size` bytes to `path` below the working directory, replacing the file.
void WriteInput(const char* path, const uint8_t* data, size_t size);
// Reports a wrong result and aborts, which the fuzzer counts as a crash.
[[noreturn]] void Fail(const std::string& what);

}  // namespace fuzzsupport
