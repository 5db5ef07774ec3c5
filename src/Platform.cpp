// Platform on Linux and in the browser: POSIX calls and glibc's heap settings.
#include "Platform.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <malloc.h>
#include <signal.h>
#include <sys/file.h>
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

bool CutFileAt(FILE* file, long size) { return fflush(file) == 0 && ftruncate(fileno(file), size) == 0; }

// The lock is flock's, on the folder: it holds whatever happens to the files in it (a
// rename puts a new Rec.dat in place of the locked one) and needs no lock file beside
// Rec.dat. The browser runs one game per page on a file system of its own: no lock.
namespace {
int saveLockFolder = -1;
}  // namespace

#ifdef __EMSCRIPTEN__
void HoldSaveLock(const std::string&) {}
#else
void HoldSaveLock(const std::string& file) {
    constexpr int kPatienceUs = 5000000;  // 20 instances' saves take well under one second
    constexpr useconds_t kPollUs = 1000;
    ReleaseSaveLock();
    saveLockFolder = open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (saveLockFolder < 0) return;
    for (int waitedUs = 0; flock(saveLockFolder, LOCK_EX | LOCK_NB) != 0; waitedUs += kPollUs) {
        const bool held = errno == EWOULDBLOCK || errno == EINTR;
        if (!held || waitedUs >= kPatienceUs) {
            ReleaseSaveLock();
            return;
        }
        usleep(kPollUs);
    }
}
#endif

void ReleaseSaveLock() {
    if (saveLockFolder >= 0) close(saveLockFolder);  // closing the folder lets the lock go
    saveLockFolder = -1;
}

// SDL already answers SIGTERM; raise is safe in a signal handler, and SDL's own handler
// (classic SDL's or SDL2's under sdl12-compat) then does what it always does.
void EndTheGameOnHangUp() {
    struct sigaction now {};
    if (sigaction(SIGHUP, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) return;
    struct sigaction hangUp {};
    hangUp.sa_handler = [](int) { raise(SIGTERM); };
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &hangUp, nullptr);
}

}  // namespace platform
