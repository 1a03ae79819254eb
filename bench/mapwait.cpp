// Starts a program and prints how long it took until it mapped a top-level window of a given
// title: "<milliseconds> <pid> <window>". The program is left running. Usage:
//   tockwell-mapwait TITLE TIMEOUT_MS PROGRAM [ARGUMENT...]
// Waits on X events (no polling), so it does not slow down the start it measures.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/types.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

bool hasTitle(Display *display, Window window, const std::string &title)
{
    XTextProperty name{};
    if (!XGetWMName(display, window, &name) || !name.value)
        return false;
    const bool same = title == reinterpret_cast<const char *>(name.value);
    XFree(name.value);
    return same;
}

bool isViewable(Display *display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0; // windows may vanish between an event and the question about them
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE TIMEOUT_MS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const auto timeout = std::chrono::milliseconds(std::atoi(argv[2]));
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[3], nullptr, nullptr, argv + 3, environ) != 0) {
        std::perror("posix_spawn");
        return 2;
    }

    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() - start < timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            Window window = 0;
            if (event.type == CreateNotify) {
                // Follow the new top-level window; it may already be mapped by now.
                window = event.xcreatewindow.window;
                XSelectInput(display, window, StructureNotifyMask);
                XSync(display, False);
                if (!isViewable(display, window))
                    continue;
            } else if (event.type == MapNotify) {
                window = event.xmap.window;
            } else {
                continue;
            }
            if (hasTitle(display, window, title)) {
                const auto elapsed =
                    std::chrono::duration<double, std::milli>(Clock::now() - start);
                std::printf("%.1f %d 0x%lx\n", elapsed.count(), int(pid), window);
                return 0;
            }
        }
        poll(&connection, 1, 50);
    }
    std::fprintf(stderr, "no window \"%s\" within %lld ms\n", title.c_str(),
                 static_cast<long long>(timeout.count()));
    std::printf("- %d\n", int(pid));
    return 1;
}
