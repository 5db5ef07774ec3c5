// Platform on Linux and in the browser: POSIX calls and glibc's heap settings.
#include "Platform.h"

#include <limits.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void ShowConsoleLinesAsTheyHappen() { setvbuf(stdout, nullptr, _IOLBF, 0); }

// Every title screen and round frees its twenty map images and loads them again. Taken
// from the heap and kept there when freed, their memory is ready for the next load,
// which then costs half as much as one that has to fault in fresh pages.
void KeepFreedMemoryForTheNextMap() {
    constexpr int kLargeBlock = 1 << 20;  // a map image is 450 KiB: below this
    constexpr int kKeepFreed = 32 << 20;  // room for two screens' worth of images
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    mallopt(M_TRIM_THRESHOLD, kKeepFreed);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string FollowLinks(const std::string& path) {
    constexpr int kMaxLinkHops = 40;  // then the open fails as a loop, as it would anyway
    std::string at = path;
    char to[PATH_MAX];
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        const ssize_t n = readlink(at.c_str(), to, sizeof to - 1);
        if (n < 0) break;
        to[n] = '\0';
        at = to[0] == '/' ? std::string(to) : FolderOf(at) + "/" + to;
    }
    return at;
}

bool IsAbsentOrRegular(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

bool CanMakeFilesIn(const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

void CopyPermissionBits(FILE* file, const std::string& from) {
    struct stat old;
    if (stat(from.c_str(), &old) == 0) fchmod(fileno(file), old.st_mode & 07777);
}

bool FlushToDisk(FILE* file) { return fflush(file) == 0 && fsync(fileno(file)) == 0; }

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

bool ReplaceFile(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace platform
