// FuzzScratch: see FuzzScratch.h. libFuzzer may end without running exit handlers, so
// scripts/fuzz.sh points TMPDIR at a folder of its own and empties it afterwards.
#include "FuzzScratch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

namespace {

std::string g_folder;

void RemoveScratch() {
    if (g_folder.empty()) return;
    const std::string cmd = "rm -rf '" + g_folder + "'";
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", g_folder.c_str());
}

}  // namespace

void EnterScratch() {
    if (!g_folder.empty()) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/comet-fuzz-XXXXXX";
    const char* made = mkdtemp(&tmpl[0]);
    if (!made || chdir(made) != 0) Fail("no scratch folder");
    g_folder = made;
    std::atexit(RemoveScratch);
}

void WriteInput(const char* path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) Fail(std::string("cannot write ") + path);
    if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("short write");
    std::fclose(f);
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzsupport
