// Asks an X client to close one of its windows, as a window manager does when the user clicks
// the window's close button: a WM_DELETE_WINDOW message. The test's X server runs no window
// manager, and destroying the window instead would show the program no close at all.
//
// Usage: close_window WINDOW-ID   (decimal, as xdotool prints it)

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: close_window WINDOW-ID\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 10);
    if (!end || *end != '\0' || window == 0) {
        std::fprintf(stderr, "close_window: \"%s\" is no window id\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "close_window: cannot open the display\n");
        return 1;
    }
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
