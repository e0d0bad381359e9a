// map_listener: starts a program on the X display in $DISPLAY and times it from exec to the moment its
// top-level window is mapped, as the X server tells every client that listens on the root window
// (SubstructureNotify: MapNotify), without polling. Once the window is up it lets the program sit
// idle for a moment, reads its resident memory, stops it and prints one line:
//
//   start_ms=123.4 cpu_ms=61.2 rss_kb=45678 hwm_kb=45900
//
// Usage: map_listener [--settle SECONDS] [--timeout SECONDS] PROGRAM [ARGUMENT...]
#include <X11/Xlib.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// The _NET_WM_PID a window carries, or 0 when it carries none.
long windowPid(Display* display, Window window)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, AnyPropertyType, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data != nullptr)
        XFree(data);
    return pid;
}

/// A "VmRSS:" style line of /proc/PID/status, in kB; -1 when missing.
long statusKb(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

/// The processor time all threads of PID have run so far, in ms (the first field of each thread's
/// schedstat, in ns): unlike the wall-clock start, other programs running beside it do not inflate it.
double cpuMs(pid_t pid)
{
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            double ns = 0;
            if (stat >> ns)
                total += ns / 1e6;
        }
        closedir(dir);
    }
    return total;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fprintf(stderr,
                 "usage: map_listener [--settle SECONDS] [--timeout SECONDS] PROGRAM [ARGUMENT...]\n");
    return 2;
}

/// Starts the program of `command` and sets `started` to the moment it called exec: the child sends it
/// through a pipe that exec itself closes. The child's process id, or -1 when it did not start.
pid_t startProgram(char* command[], double& started)
{
    int timing[2];
    if (pipe2(timing, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const double at = now();
        if (write(timing[1], &at, sizeof at) != sizeof at)
            _exit(126);
        execvp(command[0], command);
        _exit(127);
    }
    close(timing[1]);
    if (read(timing[0], &started, sizeof started) != sizeof started) {
        std::fprintf(stderr, "map_listener: the program did not start\n");
        return -1;
    }
    close(timing[0]);
    return pid;
}

/// The moment the first top-level window of `pid` (or of no known process) was mapped, or 0 when the
/// program exited first or `timeout` seconds passed (the program is then stopped).
double firstWindowMapped(Display* display, pid_t pid, const char* name, double started, double timeout,
                         double& cpu)
{
    const double deadline = started + timeout;
    const Window root = XDefaultRootWindow(display);
    const int connection = XConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect)
                continue;
            const long owner = windowPid(display, event.xmap.window);
            if (owner == 0 || owner == pid) {
                const double mapped = now();
                cpu = cpuMs(pid);
                return mapped;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "map_listener: %s exited before its window appeared\n", name);
            return 0;
        }
        if (now() > deadline) {
            std::fprintf(stderr, "map_listener: no window within %.0f s\n", timeout);
            stop(pid);
            return 0;
        }
        pollfd readable{connection, POLLIN, 0};
        poll(&readable, 1, 100);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    double settle = 1.0;
    double timeout = 30.0;
    int first = 1;
    while (first + 1 < argc && argv[first][0] == '-' && argv[first][1] == '-') {
        const std::string option = argv[first];
        if (option == "--settle")
            settle = std::atof(argv[first + 1]);
        else if (option == "--timeout")
            timeout = std::atof(argv[first + 1]);
        else
            return usage();
        first += 2;
    }
    if (first >= argc)
        return usage();

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "map_listener: cannot open the display\n");
        return 1;
    }
    const Window root = XDefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const int connection = XConnectionNumber(display);
    fcntl(connection, F_SETFD, FD_CLOEXEC);

    double started = 0;
    const pid_t pid = startProgram(argv + first, started);
    if (pid < 0)
        return 1;
    double cpu = 0;
    const double mapped = firstWindowMapped(display, pid, argv[first], started, timeout, cpu);
    if (mapped == 0)
        return 1;

    timespec idle{static_cast<time_t>(settle),
                  static_cast<long>((settle - static_cast<double>(static_cast<time_t>(settle))) * 1e9)};
    while (nanosleep(&idle, &idle) != 0 && errno == EINTR) {
    }
    const long rss = statusKb(pid, "VmRSS");
    const long hwm = statusKb(pid, "VmHWM");
    stop(pid);
    XCloseDisplay(display);
    std::printf("start_ms=%.1f cpu_ms=%.1f rss_kb=%ld hwm_kb=%ld\n", (mapped - started) * 1e3, cpu, rss, hwm);
    return 0;
}
