#include "platform/desktop/DisplayWatcher.h"

#include "platform/desktop/RandrDisplayModes.h"

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform
{

namespace
{

constexpr char Restored = 'r';

[[noreturn]] void watch(int fromGame, int ready)
{
    // A Ctrl+C or hang-up meant for the game must not take the watcher first.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    if (const int null = ::open("/dev/null", O_RDWR); null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    auto randr = RandrDisplayModes::open();
    if (randr)
        randr->rememberCurrentMode();
    const char ok = randr ? 1 : 0;
    [[maybe_unused]] auto w = ::write(ready, &ok, 1);
    ::close(ready);
    if (!randr)
        ::_exit(0);
    char word = 0;
    ssize_t n;
    do {
        n = ::read(fromGame, &word, 1);
    } while (n < 0 && errno == EINTR);
    if (n == 1 && word == Restored) {
        // The game restored the mode itself; the destructor must not touch it.
        randr->rememberCurrentMode();
        ::_exit(0);
    }
    randr->restore();
    randr.reset();
    ::_exit(0);
}

} // namespace

DisplayWatcher::DisplayWatcher()
{
    int toWatcher[2];
    int ready[2];
    if (::pipe2(toWatcher, O_CLOEXEC) != 0)
        return;
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        ::close(toWatcher[0]);
        ::close(toWatcher[1]);
        return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(toWatcher[1]);
        ::close(ready[0]);
        watch(toWatcher[0], ready[1]);
    }
    ::close(toWatcher[0]);
    ::close(ready[1]);
    if (pid < 0) {
        ::close(toWatcher[1]);
        ::close(ready[0]);
        return;
    }
    char ok = 0;
    ssize_t n;
    do {
        n = ::read(ready[0], &ok, 1);
    } while (n < 0 && errno == EINTR);
    ::close(ready[0]);
    pid_ = pid;
    if (n == 1 && ok) {
        pipe_ = toWatcher[1];
    } else {
        ::close(toWatcher[1]);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

DisplayWatcher::~DisplayWatcher()
{
    if (pipe_ < 0)
        return;
    [[maybe_unused]] auto w = ::write(pipe_, &Restored, 1);
    ::close(pipe_);
    ::waitpid(pid_, nullptr, 0);
}

} // namespace platform
