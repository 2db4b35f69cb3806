// Starts a program and measures, through X events, how long it takes until its first top-level
// window is mapped; then lets it sit idle and reads its peak resident set size.
//
//   startup_probe IDLE_MS PROGRAM [ARGS...]
// prints "<milliseconds to map> <peak RSS in KiB> <anonymous RSS in KiB>" and ends the program.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// A field of /proc/PID/status in KiB ("VmHWM", the peak resident set; "RssAnon", the part of
// the resident set that is the process's own memory rather than mapped files).
long StatusKiB(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IDLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int idleMs = std::atoi(argv[1]);

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Listen for windows being mapped on the root before the program exists, so no map is missed.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    double mapMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const bool mapped =
            (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
            reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0;
        std::free(event);
        if (mapped) {
            mapMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
    const long peak = StatusKiB(child, "VmHWM");
    const long anonymous = StatusKiB(child, "RssAnon");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    if (mapMs < 0) {
        std::fprintf(stderr, "the program mapped no window\n");
        return 1;
    }
    std::printf("%.2f %ld %ld\n", mapMs, peak, anonymous);
    return 0;
}
