// Runs a program and reports how long it takes, from just before exec until
// the X server maps its first top-level window, then ends the program. It
// waits on MapNotify events of the root window rather than polling, so the
// figure carries no polling delay; with a reparenting window manager the
// mapped window is the manager's frame, which is checked for a client
// window carrying the program's _NET_WM_PID.
//
// "startup_probe startup_probe --map-window" times the probe's own stand-in
// client, which maps a bare Xlib window at once: the floor of the method
// (process start, connecting, the window manager's map round trip).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long long NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

bool HasPid(Display* display, Window window, Atom pidAtom, pid_t pid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool match = false;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            match = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
        XFree(data);
    }
    return match;
}

// The window itself, or a client two levels down in a manager's frame.
bool BelongsTo(Display* display, Window window, Atom pidAtom, pid_t pid, int depth) {
    if (HasPid(display, window, pidAtom, pid)) return true;
    if (depth == 0) return false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = BelongsTo(display, children[i], pidAtom, pid, depth - 1);
        if (children != nullptr) XFree(children);
    }
    return found;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

int MapWindowAndWait() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 672, 384, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XStoreName(display, window, "probe");
    XMapWindow(display, window);
    XFlush(display);
    pause();
    return 0;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 40; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(50000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--map-window") == 0) return MapWindowAndWait();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const double timeoutSeconds = std::getenv("PROBE_TIMEOUT") ? std::atof(std::getenv("PROBE_TIMEOUT")) : 15.0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open display\n");
        return 2;
    }
    // A window may be gone again by the time it is inspected.
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const int fd = ConnectionNumber(display);
    fcntl(fd, F_SETFD, FD_CLOEXEC);

    const long long start = NowNs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror("exec");
        _exit(127);
    }

    const long long deadline = start + static_cast<long long>(timeoutSeconds * 1e9);
    long long mapped = -1;
    while (mapped < 0) {
        while (mapped < 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect) continue;
            const long long at = NowNs();
            if (BelongsTo(display, event.xmap.window, pidAtom, pid, 2)) mapped = at;
        }
        if (mapped >= 0) break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "%s exited before mapping a window\n", argv[1]);
            return 1;
        }
        const long long left = deadline - NowNs();
        if (left <= 0) {
            std::fprintf(stderr, "%s mapped no window within %.1f s\n", argv[1], timeoutSeconds);
            Stop(pid);
            return 1;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, static_cast<int>(left / 1000000 < 100 ? left / 1000000 + 1 : 100));
    }
    Stop(pid);
    XCloseDisplay(display);
    std::printf("%.6f\n", static_cast<double>(mapped - start) / 1e9);
    return 0;
}
