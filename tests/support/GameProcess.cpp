// GameProcess: see GameProcess.h.
#include "GameProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace testsupport {

namespace {
double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

GameProcess::GameProcess(const std::string& workDir, bool unprivileged) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (chdir(workDir.c_str()) != 0) _exit(127);
        if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(126);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        execl(COMET_GAME_BINARY, COMET_GAME_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    fd_ = pipeFds[0];
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !exited_ && signal_ == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
}

void GameProcess::ReadAvailable(double seconds) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) return;
    char buf[4096];
    const ssize_t n = read(fd_, buf, sizeof buf);
    if (n > 0) output_.append(buf, n);
}

bool GameProcess::WaitFor(const std::string& text, double seconds) {
    const double end = Now() + seconds;
    while (output_.find(text) == std::string::npos) {
        const double left = end - Now();
        if (left <= 0) return false;
        ReadAvailable(left < 0.05 ? left : 0.05);
    }
    return true;
}

void GameProcess::RequestQuit() { kill(pid_, SIGTERM); }

void GameProcess::Kill(int sig) { kill(pid_, sig); }

int GameProcess::WaitForExit(double seconds) {
    const double end = Now() + seconds;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid_, &status, WNOHANG)) == 0 && Now() < end) ReadAvailable(0.02);
    if (done == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    for (int i = 0; i < 100; ++i) {  // drain what is left in the pipe
        const size_t before = output_.size();
        ReadAvailable(0.01);
        if (output_.size() == before) break;
    }
    exited_ = WIFEXITED(status);
    code_ = exited_ ? WEXITSTATUS(status) : -1;
    signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (done == 0) exited_ = false;
    return code_;
}

}  // namespace testsupport
