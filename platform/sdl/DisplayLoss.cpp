#include "platform/sdl/DisplayLoss.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int lostStatus = 1;
// A server being killed closes its clients' sockets one by one: a library
// can crash on the one that went first while the watcher's is still open.
constexpr int closingWaitMs = 2000;

// Made before anything can go wrong: the signal handler may only write.
char message[256];
size_t messageLength = 0;
// A connection of the layer's own that nothing reads: once the server has
// gone, its socket reports the hang-up, and a round trip on it fails.
Display* watcher = nullptr;
int watchedSocket = -1;
struct sigaction previousSegv = {};
struct sigaction previousBus = {};

[[noreturn]] void endForLostDisplay()
{
    // write() rather than stdio: this may run inside a signal handler.
    const ssize_t written = write(STDERR_FILENO, message, messageLength);
    static_cast<void>(written);
    _exit(lostStatus);
}

// true once the watcher's socket reports the hang-up, waiting up to
// waitMs for it; only the hang-up (or an error) ends the wait
bool serverHasGone(int waitMs)
{
    pollfd watched = {watchedSocket, POLLRDHUP, 0};
    return watchedSocket >= 0 && poll(&watched, 1, waitMs) == 1 &&
           (watched.revents & (POLLHUP | POLLRDHUP)) != 0;
}

// Xlib calls this when a request or reply finds the connection gone.
int connectionLost(Display*)
{
    endForLostDisplay();
}

// A crash because the display died under a library is its loss, not a
// fault of ours; any other crash goes on as it would have, to the handler
// there was before (a sanitizer's) or to the default, a moment later.
void crashed(int signal)
{
    if (serverHasGone(closingWaitMs)) {
        endForLostDisplay();
    }
    sigaction(signal, signal == SIGSEGV ? &previousSegv : &previousBus, nullptr);
}
}

void DisplayLoss::watch()
{
    static bool watching = false;
    if (watching) {
        return;
    }
    watching = true;
    const char* name = XDisplayName(nullptr);
    std::snprintf(message, sizeof message, "Lost the connection to the display %s; the program ends.\n",
                  name);
    messageLength = std::strlen(message);

    // All of it before the first connection: XOpenDisplay's own round trips
    // (the resource database, the keyboard extension) may already meet a
    // server that has gone, where Xlib's default handler would print a line
    // of its own.
    XSetIOErrorHandler(connectionLost);
    struct sigaction onCrash = {};
    onCrash.sa_handler = crashed;
    sigemptyset(&onCrash.sa_mask);
    sigaction(SIGSEGV, &onCrash, &previousSegv);
    sigaction(SIGBUS, &onCrash, &previousBus);
    // Writing to a display that went away is an error Xlib reports, not a
    // signal that ends the process without a word.
    std::signal(SIGPIPE, SIG_IGN);

    watcher = XOpenDisplay(nullptr);
    if (watcher != nullptr) {
        watchedSocket = ConnectionNumber(watcher);
    }
}

void DisplayLoss::endIfLost()
{
    // A round trip waits for the server to answer or to go: a server that
    // is being killed may not have closed its sockets yet.
    if (watcher != nullptr) {
        XSync(watcher, False);
    }
    if (serverHasGone(0)) {
        endForLostDisplay();
    }
}
