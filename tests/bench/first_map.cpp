// Times a program from its start to its first top-level window being mapped on
// the X server, from outside the program, so that programs that cannot report
// their own first paint (another toolkit's game) are timed the same way as ours.
//   first_map [--wait] [--timeout SECONDS] -- PROGRAM [ARGS...]
// Prints launch-us (wall clock at the start), map-us (start to first map) and
// cpu-us (the program's user + system time). Without --wait the program is
// ended once its window is mapped; with --wait it is left to exit by itself
// (ours do after their first paint when asked), and its own output passes through.
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

long long nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

long long cpuUs(const rusage &u)
{
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000LL + u.ru_utime.tv_usec + u.ru_stime.tv_usec;
}

int usage()
{
    std::fprintf(stderr, "usage: first_map [--wait] [--timeout SECONDS] -- PROGRAM [ARGS...]\n");
    return 2;
}

// Ends the program and collects its CPU time; a program that ignores SIGTERM
// gets SIGKILL so that a run never leaves a window behind.
long long reap(pid_t pid, bool terminate, double timeoutS)
{
    rusage u{};
    int status = 0;
    if (terminate)
        kill(pid, SIGTERM);
    const long long deadline = nowUs() + static_cast<long long>(timeoutS * 1e6);
    for (;;) {
        const pid_t r = wait4(pid, &status, WNOHANG, &u);
        if (r == pid)
            return cpuUs(u);
        if (r < 0 && errno != EINTR)
            return -1;
        if (nowUs() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &u);
            return cpuUs(u);
        }
        usleep(2000);
    }
}

} // namespace

int main(int argc, char **argv)
{
    bool wait = false;
    double timeoutS = 20;
    int i = 1;
    for (; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--wait"))
            wait = true;
        else if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeoutS = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--")) {
            ++i;
            break;
        } else
            return usage();
    }
    if (i >= argc || timeoutS <= 0)
        return usage();

    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "first_map: cannot open the display\n");
        return 2;
    }
    // Listen before the program starts, so that no map can be missed.
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);
    std::fflush(stdout);

    const long long start = nowUs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("first_map: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(dpy));
        execvp(argv[i], argv + i);
        std::fprintf(stderr, "first_map: cannot run %s: %s\n", argv[i], std::strerror(errno));
        _exit(127);
    }

    long long mapped = -1;
    const long long deadline = start + static_cast<long long>(timeoutS * 1e6);
    bool exited = false;
    while (mapped < 0 && nowUs() < deadline) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            // Menus and tooltips are override-redirect; the first real window is what counts.
            if (e.type == MapNotify && e.xmap.event == root && !e.xmap.override_redirect) {
                mapped = nowUs() - start;
                break;
            }
        }
        if (mapped >= 0)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        pollfd p{ConnectionNumber(dpy), POLLIN, 0};
        poll(&p, 1, 5);
    }

    long long cpu = -1;
    if (!exited)
        cpu = reap(pid, !wait || mapped < 0, wait ? timeoutS : 5);
    XCloseDisplay(dpy);
    std::printf("launch-us=%lld\n", start);
    if (mapped < 0) {
        std::fprintf(stderr, "first_map: %s mapped no window%s\n", argv[i],
                     exited ? " before it ended" : " in time");
        return 1;
    }
    std::printf("map-us=%lld\ncpu-us=%lld\n", mapped, cpu);
    return 0;
}
