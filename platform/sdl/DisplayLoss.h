// Ends the program at once, with a line on standard error and status 1,
// when the X display goes away: the server ended, the session was closed.
// Without this Xlib would exit() and run what a normal exit runs, which
// waits on the dead connection; or a library that did not expect the
// connection to die between two of its requests (Mesa's GLX, while a window
// is made) would crash.
#pragma once

class DisplayLoss {
public:
    // watches the display that DISPLAY names from now on; call it before
    // the first connection to it
    static void watch();
    // ends the program if the display it watches has gone; asked before
    // any line that reports a failure the loss could have caused
    static void endIfLost();
};
