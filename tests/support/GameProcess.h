// GameProcess: the real game binary run in a folder of the test's choosing under the
// dummy video driver, with its console captured. SIGTERM reaches the game as a quit
// request, the same event as the window's close button.
#pragma once
#include <sys/types.h>

#include <string>

namespace testsupport {

class GameProcess {
public:
    // With `unprivileged`, a game started as root drops to uid/gid 65534 first, so that
    // file permissions apply to it.
    explicit GameProcess(const std::string& workDir, bool unprivileged = false);
    ~GameProcess();

    // Reads the console until `text` has appeared or `seconds` have passed.
    bool WaitFor(const std::string& text, double seconds);
    void RequestQuit();  // SIGTERM: SDL turns it into a quit request
    void Kill(int signal);
    // Waits for the end (at most `seconds`, then kills) and reads the rest of the console.
    int WaitForExit(double seconds = 10);

    const std::string& output() const { return output_; }
    bool exitedNormally() const { return exited_; }
    int exitCode() const { return code_; }
    int signal() const { return signal_; }

private:
    void ReadAvailable(double seconds);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string output_;
    bool exited_ = false;
    int code_ = -1;
    int signal_ = 0;
};

}  // namespace testsupport
