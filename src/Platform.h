// Platform: the few things the game asks of the operating system, in one place. This
// file answers them for Linux (and the browser build); the Windows build compiles
// src/windows/Platform.cpp instead, which answers the same questions its own way.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Console lines appear as they happen, not when the buffer fills.
void ShowConsoleLinesAsTheyHappen();

// Heap tuning for the map images that each screen frees and loads again.
void KeepFreedMemoryForTheNextMap();

// The folder a file path lies in ("." for a bare name).
std::string FolderOf(const std::string& path);

// The file that `path` names once every symbolic link on the way is followed; `path`
// itself when it is no link.
std::string FollowLinks(const std::string& path);

// True when nothing is at `path`, or a regular file (not a folder, link, FIFO, socket or
// device). Nothing else is opened or replaced as a record file.
bool IsAbsentOrRegular(const std::string& path);

// True when new files can be made in `folder`.
bool CanMakeFilesIn(const std::string& folder);

// Gives `file` the permission bits of the file at `from`, when there is one.
void CopyPermissionBits(FILE* file, const std::string& from);

// Flushes `file` and waits until its bytes are on the disk; false when that failed.
bool FlushToDisk(FILE* file);

// This program's process id: tells its temporary files from another instance's.
unsigned long ProcessId();

// Puts the file `from` in the place of `to` in one step, replacing `to` if it exists.
bool ReplaceFile(const std::string& from, const std::string& to);

// Cuts `file` (written and flushed) to its first `size` bytes; false when that failed.
bool CutFileAt(FILE* file, long size);

// Waits until no other instance of the game is saving into the folder `file` lies in,
// then keeps the others waiting until ReleaseSaveLock: each save's read, merge, write
// and rename come whole before or after another's. No lock to be had, or a wait of
// seconds (an instance stopped mid-save), and the save goes on without it.
void HoldSaveLock(const std::string& file);
void ReleaseSaveLock();

// A hang-up (the terminal closed, the session ended) ends the game as SIGTERM does, which
// SDL turns into the window's close request: the round ends and its records are saved.
// A hang-up ignored on entry (nohup) stays ignored. Called once SDL is running.
void EndTheGameOnHangUp();

}  // namespace platform
