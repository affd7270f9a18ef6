// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program beside the bare window: the time from launch until
// the window is mapped, and the peak resident memory up to then.
//
//     start_up_launcher [--runs N] [--windows PROGRAM.EXE BARE.EXE]... PROGRAM BARE_WINDOW
//
// Starts an X server of its own (Xvfb, on the first free display, no window
// manager) and watches its root window for MapNotify, so nothing waits by
// sleeping. Each run launches one program, and as soon as its window is mapped
// asks it to close as a window manager would (WM_DELETE_WINDOW); the peak RSS
// is what wait4() reports when it has ended. The two programs take turns, one
// unmeasured run each first, and the medians are compared. With --windows
// (once per architecture) a Windows program and its bare Win32 window take
// their turns too, under Wine (started beforehand, so that the measure is
// the program's start and not Wine's own), and are compared with each other.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int defaultRuns = 15;
constexpr int minimumRuns = 11;
constexpr int mapTimeoutMs = 30'000;
constexpr int exitTimeoutMs = 10'000;

[[noreturn]] void fail(const std::string &why)
{
    std::fprintf(stderr, "start_up_launcher: %s\n", why.c_str());
    std::exit(EXIT_FAILURE);
}

struct XServer
{
    pid_t pid = -1;
    std::string display;
};

// Xvfb tells the display it chose through -displayfd once it accepts
// clients.
XServer startXServer()
{
    int ready[2];
    if (pipe(ready) != 0)
        fail("no pipe");
    const pid_t pid = fork();
    if (pid < 0)
        fail("cannot fork");
    if (pid == 0) {
        close(ready[0]);
        const std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
            "-nolisten", "tcp", "-noreset", static_cast<char *>(nullptr));
        std::perror("Xvfb");
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (number.empty())
        fail("Xvfb did not start (is the xvfb package installed?)");
    return { pid, ":" + number };
}

int pidFd(pid_t pid)
{
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Measurement
{
    double mapMs = 0;
    double peakRssMiB = 0;
};

class Launcher
{
public:
    Launcher(const std::string &display, const std::string &runtimeDir)
        : m_display(display)
        , m_runtimeDir(runtimeDir)
    {
        m_x = XOpenDisplay(display.c_str());
        if (!m_x)
            fail("cannot open display " + display);
        m_root = DefaultRootWindow(m_x);
        XSelectInput(m_x, m_root, SubstructureNotifyMask);
        m_protocols = XInternAtom(m_x, "WM_PROTOCOLS", False);
        m_deleteWindow = XInternAtom(m_x, "WM_DELETE_WINDOW", False);
        XSync(m_x, False);
    }

    ~Launcher() { XCloseDisplay(m_x); }

    Measurement run(const std::vector<std::string> &command)
    {
        const std::string &program = command.front();
        discardEvents();
        const Clock::time_point start = Clock::now();
        const pid_t pid = fork();
        if (pid < 0)
            fail("cannot fork");
        if (pid == 0) {
            setenv("DISPLAY", m_display.c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, STDOUT_FILENO);
            std::vector<char *> arguments;
            for (const std::string &argument : command)
                arguments.push_back(const_cast<char *>(argument.c_str()));
            arguments.push_back(nullptr);
            execvp(program.c_str(), arguments.data());
            std::perror(program.c_str());
            _exit(127);
        }
        const int exited = pidFd(pid);
        if (exited < 0)
            fail("pidfd_open failed");

        Measurement m;
        const std::optional<Window> window = waitForMap(exited);
        if (!window) {
            kill(pid, SIGKILL);
            reap(pid, exited);
            fail(program + ": no window was mapped");
        }
        m.mapMs = msSince(start);
        askToClose(*window);
        m.peakRssMiB = reap(pid, exited) / 1024.0;
        return m;
    }

private:
    void discardEvents()
    {
        XSync(m_x, False);
        while (XPending(m_x) > 0) {
            XEvent event;
            XNextEvent(m_x, &event);
        }
    }

    // The first top-level window mapped on the display, which has only our
    // one program as a client; nothing if the program ends or time runs out.
    std::optional<Window> waitForMap(int exited)
    {
        const Clock::time_point start = Clock::now();
        for (;;) {
            while (XPending(m_x) > 0) {
                XEvent event;
                XNextEvent(m_x, &event);
                if (event.type == MapNotify && event.xmap.event == m_root
                    && !event.xmap.override_redirect)
                    return event.xmap.window;
            }
            pollfd fds[2] = { { ConnectionNumber(m_x), POLLIN, 0 }, { exited, POLLIN, 0 } };
            const int left = mapTimeoutMs - static_cast<int>(msSince(start));
            if (left <= 0 || poll(fds, 2, left) <= 0 || (fds[1].revents & POLLIN))
                return std::nullopt;
        }
    }

    void askToClose(Window window)
    {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = m_protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(m_deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_x, window, False, NoEventMask, &event);
        XFlush(m_x);
    }

    // Waits for the program to end (killing it if it will not) and answers
    // its peak RSS in KiB.
    long reap(pid_t pid, int exited)
    {
        pollfd fd { exited, POLLIN, 0 };
        if (poll(&fd, 1, exitTimeoutMs) <= 0) {
            std::fprintf(stderr, "start_up_launcher: pid %d did not close, killed\n", pid);
            kill(pid, SIGKILL);
        }
        int status = 0;
        rusage usage {};
        while (wait4(pid, &status, 0, &usage) < 0) {
            if (errno != EINTR)
                fail("wait4 failed");
        }
        close(exited);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            fail("a program ended abnormally");
        return usage.ru_maxrss;
    }

    std::string m_display;
    std::string m_runtimeDir;
    Display *m_x = nullptr;
    Window m_root = 0;
    Atom m_protocols = 0;
    Atom m_deleteWindow = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series
{
    std::vector<std::string> command;
    std::vector<double> mapMs;
    std::vector<double> peakRssMiB;
};

void printSeries(const Series &s)
{
    std::printf("%s: launch to map, median %.1f ms (", s.command.back().c_str(), median(s.mapMs));
    for (std::size_t i = 0; i < s.mapMs.size(); ++i)
        std::printf("%s%.1f", i ? " " : "", s.mapMs[i]);
    std::printf("); peak RSS median %.1f MiB\n", median(s.peakRssMiB));
}

} // namespace

int main(int argc, char **argv)
{
    int runs = defaultRuns;
    std::vector<std::string> programs;
    // Each Windows program with its bare window.
    std::vector<std::pair<std::string, std::string>> windowsPrograms;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--windows") == 0 && i + 2 < argc) {
            windowsPrograms.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else {
            programs.emplace_back(argv[i]);
        }
    }
    if (programs.size() != 2 || runs < minimumRuns) {
        std::fprintf(stderr,
            "usage: %s [--runs N (>= %d)] [--windows PROGRAM.EXE BARE.EXE]... PROGRAM "
            "BARE_WINDOW\n",
            argv[0], minimumRuns);
        return EXIT_FAILURE;
    }

    // Qt wants a private runtime folder; one of our own keeps its warning out.
    char runtimeDir[] = "/tmp/start_up_launcher-XXXXXX";
    if (!mkdtemp(runtimeDir))
        fail("cannot make a runtime folder");

    const XServer server = startXServer();
    std::vector<Series> series { { { programs[0] }, {}, {} }, { { programs[1] }, {}, {} } };
    for (const auto &[program, bare] : windowsPrograms) {
        series.push_back({ { "wine", program }, {}, {} });
        series.push_back({ { "wine", bare }, {}, {} });
    }
    {
        Launcher launcher(server.display, runtimeDir);
        for (const Series &s : series)
            launcher.run(s.command); // fills the page cache; not counted
        for (int run = 0; run < runs; ++run) {
            // Alternate which goes first, so that neither always follows the other.
            for (std::size_t k = 0; k < series.size(); ++k) {
                Series &s = series[(k + static_cast<std::size_t>(run)) % series.size()];
                const Measurement m = launcher.run(s.command);
                s.mapMs.push_back(m.mapMs);
                s.peakRssMiB.push_back(m.peakRssMiB);
            }
        }
    }
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
    rmdir(runtimeDir);

    for (const Series &s : series)
        printSeries(s);
    const double programMs = median(series[0].mapMs);
    const double bareMs = median(series[1].mapMs);
    const double programMiB = median(series[0].peakRssMiB);
    const double bareMiB = median(series[1].peakRssMiB);
    const double ratio = programMs / bareMs;
    std::printf("| start-up, launch to window mapped (median of %d) | %.1f ms | bare window %.1f "
                "ms | %.2fx | <= 1.1x | %s |\n",
        runs, programMs, bareMs, ratio, ratio <= 1.1 ? "met" : "MISSED");
    std::printf("| peak RSS, launch to close | %.1f MiB | bare window %.1f MiB | %+.1f "
                "MiB | <= bare + 3 MiB | %s |\n",
        programMiB, bareMiB, programMiB - bareMiB, programMiB <= bareMiB + 3 ? "met" : "MISSED");
    for (std::size_t k = 0; k < windowsPrograms.size(); ++k) {
        const double windowsMs = median(series[2 + 2 * k].mapMs);
        const double bareWindowsMs = median(series[3 + 2 * k].mapMs);
        const double windowsRatio = windowsMs / bareWindowsMs;
        std::printf("| start-up of the Windows program %s under Wine, launch to window mapped "
                    "(median of %d) | %.1f ms | bare Win32 window %.1f ms | %.2fx | <= 1.1x | %s "
                    "|\n",
            windowsPrograms[k].first.c_str(), runs, windowsMs, bareWindowsMs, windowsRatio,
            windowsRatio <= 1.1 ? "met" : "MISSED");
    }
    return EXIT_SUCCESS;
}
