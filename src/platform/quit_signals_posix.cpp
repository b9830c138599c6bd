#include "platform/quit_signals.h"

#include <signal.h>

#include <initializer_list>

namespace vexel::platform {

namespace {

volatile sig_atomic_t g_quit_requested = 0;

void note_quit_request(int) {
    g_quit_requested = 1;
}

}  // namespace

void watch_quit_signals() {
    struct sigaction action {};
    action.sa_handler = note_quit_request;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal_number, &action, nullptr);
}

bool quit_signal_pending() {
    return g_quit_requested != 0;
}

}  // namespace vexel::platform
