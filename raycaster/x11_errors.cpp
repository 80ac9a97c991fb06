#include "x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <dlfcn.h>

namespace {

XErrorHandler xlib_handler = nullptr;

// SDL ends an event wait by sending its window an event over a second
// connection. When that event is still on its way as the window closes (a
// key that quits does just that), the server answers BadWindow, and Xlib's
// own handler ends the program with status 1 while SDL closes the
// connection. Such a wake-up has nobody left to wake; every other error goes
// on as before.
int forgive_late_wakeup(Display *display, XErrorEvent *error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return xlib_handler ? xlib_handler(display, error) : 0;
}

} // namespace

void forgive_late_wakeups() {
    // Set before SDL loads the library, so SDL keeps this handler behind its
    // own and puts it back when it quits. Looked up, not linked: a system
    // with Wayland alone has no libX11, and needs none.
    void *x11 = dlopen("libX11.so.6", RTLD_LAZY);
    if (!x11) return;
    using SetHandler = XErrorHandler (*)(XErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(x11, "XSetErrorHandler")))
        xlib_handler = set(forgive_late_wakeup);
    // Never closed: the handler must outlive SDL's use of the library.
}
