// Platform on Windows: the same questions as src/Platform.h, answered with the Windows C
// runtime and the Win32 calls. Compiled instead of src/Platform.cpp by the Windows build
// (windows.sh, packaging/windows/Makefile); the Linux build never sees this file.
#include "Platform.h"

#include <ctype.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// windows.h names its own ReplaceFile (a macro for ReplaceFileA); ours is the one declared.
#undef ReplaceFile

namespace platform {

// The Windows C runtime refuses line buffering (_IOLBF), which would leave stdout fully
// buffered and the console lines unseen until the buffer fills; unbuffered, each line
// reaches stdout.txt as it is printed.
void ShowConsoleLinesAsTheyHappen() { setvbuf(stdout, nullptr, _IONBF, 0); }

// The Windows heap has no such settings to tune.
void KeepFreedMemoryForTheNextMap() {}

// Either slash separates folders on Windows.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Rec.dat is a plain file here: the shortcuts a player can make are files of their own,
// not links the file system follows.
std::string FollowLinks(const std::string& path) { return path; }

bool IsAbsentOrRegular(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    constexpr DWORD kNotAPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                     FILE_ATTRIBUTE_DEVICE;
    return (attributes & kNotAPlainFile) == 0;
}

// The runtime rejects X_OK: a folder one may write in is one files can be made in.
bool CanMakeFilesIn(const std::string& folder) { return _access(folder.c_str(), 2) == 0; }

// Windows files carry no permission bits; the read-only flag is the only one, and a file
// that has it is never replaced (the save refuses it first).
void CopyPermissionBits(FILE*, const std::string&) {}

bool FlushToDisk(FILE* file) { return fflush(file) == 0 && _commit(_fileno(file)) == 0; }

unsigned long ProcessId() { return GetCurrentProcessId(); }

// The runtime's rename fails when `to` exists: MoveFileEx replaces it in one step, and
// returns only once the move is on the disk.
bool ReplaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool CutFileAt(FILE* file, long size) { return fflush(file) == 0 && _chsize(_fileno(file), size) == 0; }

// The lock is a named mutex, one per records folder: LockFileEx locks a range of an open
// file, and an open Rec.dat is one MoveFileEx cannot replace, while a lock file would be
// one more file beside the records. Windows lets the mutex go when its holder ends.
namespace {
HANDLE saveLock = nullptr;
constexpr DWORD kSaveLockPatienceMs = 5000;  // 20 instances' saves take well under one second
}  // namespace

void HoldSaveLock(const std::string& file) {
    ReleaseSaveLock();
    char folder[MAX_PATH];
    const DWORD length = GetFullPathNameA(FolderOf(file).c_str(), sizeof folder, folder, nullptr);
    if (length == 0 || length >= sizeof folder) return;
    std::string name = "comet-drifter-records:";  // a backslash would name a namespace
    for (const char* c = folder; *c; ++c) name += *c == '\\' ? '/' : static_cast<char>(tolower(static_cast<unsigned char>(*c)));
    saveLock = CreateMutexA(nullptr, FALSE, name.c_str());
    if (!saveLock) return;
    const DWORD got = WaitForSingleObject(saveLock, kSaveLockPatienceMs);
    if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {  // abandoned: its holder ended
        CloseHandle(saveLock);
        saveLock = nullptr;
    }
}

void ReleaseSaveLock() {
    if (!saveLock) return;
    ReleaseMutex(saveLock);
    CloseHandle(saveLock);
    saveLock = nullptr;
}

// Windows sends no hang-up; a closed console ends a windowed program on its own terms.
void EndTheGameOnHangUp() {}

}  // namespace platform
