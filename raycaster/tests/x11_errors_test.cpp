// The X error handler both programs set before SDL starts, against a real X
// server (xvfb-run -a). Each case runs in a child, as an error that is not
// forgiven ends the process.
#include "x11_errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
// Last: its macros (None, Status, Bool) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace {

// SDL wakes its event wait with an event sent to the window over a second
// connection; sent as the window closes, it meets BadWindow. That must not
// end the program (with status 1, as it once did now and then when
// the maze generator quit on Esc).
TEST(X11Errors, AWakeUpForAClosedWindowIsForgivenAndOthersAreNot) {
    auto send_to_closed_window = [](unsigned char request) {
        forgive_late_wakeups();
        Display *display = XOpenDisplay(nullptr);
        if (!display) std::exit(3);
        const Window gone =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
        XDestroyWindow(display, gone);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.format = 8;
        if (request == X_SendEvent)
            XSendEvent(display, gone, False, NoEventMask, &event);
        else
            XMapWindow(display, gone);
        XCloseDisplay(display); // reads the error, as SDL's quit does
        std::exit(0);
    };
    EXPECT_EXIT(send_to_closed_window(X_SendEvent), testing::ExitedWithCode(0), "");
    // Any other error still reaches Xlib's handler, which ends the program.
    EXPECT_EXIT(send_to_closed_window(X_MapWindow), testing::ExitedWithCode(1), "BadWindow");
}

} // namespace
