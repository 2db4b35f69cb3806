// Starts a program and measures, through X events, when its first top-level window is mapped,
// when it is first painted (the X Damage extension's first report on that window) and when
// painting settles (the last report before a quiet spell); then lets it sit idle and reads its
// memory. No polling: it sleeps in poll() on the X connection.
//
//   startup_probe IDLE_MS PROGRAM [ARGS...]
// prints "<map ms> <first frame ms> <settled ms> <peak RSS KiB> <PSS KiB> <anonymous KiB>".
// Exit status 2: no X display or no Damage extension; 1: the program mapped or painted nothing.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kQuietMs = 300; // painting has settled after this long without a report

// A field of /proc/PID/FILE in KiB: "VmHWM" (peak resident set) and "RssAnon" (the process's
// own memory) in status, "Pss" (resident set with shared pages divided among their users) in
// smaps_rollup.
long KiB(pid_t pid, const char* file, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
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
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        std::fprintf(stderr, "no Damage extension\n");
        return 2;
    }
    xcb_discard_reply(x, xcb_damage_query_version(x, 1, 1).sequence);
    // Listen for windows being created and mapped on the root before the program exists.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    std::set<xcb_window_t> watched;
    xcb_window_t mapped = XCB_NONE;
    Clock::time_point mapAt, firstFrame, lastFrame;
    bool painted = false;
    const auto deadline = start + std::chrono::seconds(10);
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (event == nullptr) {
            if (xcb_connection_has_error(x) != 0) {
                break;
            }
            // Asleep until the X server says something, or painting has been quiet long enough.
            const int wait =
                painted ? kQuietMs - static_cast<int>(Ms(lastFrame, Clock::now())) : 1000;
            if (painted && wait <= 0) {
                break;
            }
            poll(&fd, 1, wait);
            continue;
        }
        const auto now = Clock::now();
        const int type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (created->override_redirect == 0) {
                // Watched from its creation on, so that no paint can come before the watching.
                xcb_damage_create(x, xcb_generate_id(x), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                watched.insert(created->window);
                xcb_flush(x);
            }
        } else if (type == XCB_MAP_NOTIFY && mapped == XCB_NONE) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (map->override_redirect == 0 && watched.count(map->window) != 0) {
                mapped = map->window;
                mapAt = now;
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* report = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (mapped != XCB_NONE && report->drawable == mapped) {
                if (!painted) {
                    painted = true;
                    firstFrame = now;
                }
                lastFrame = now;
                xcb_damage_subtract(x, report->damage, XCB_NONE, XCB_NONE);
                xcb_flush(x);
            }
        }
        std::free(event);
    }

    usleep(static_cast<useconds_t>(idleMs) * 1000);
    const long peak = KiB(child, "status", "VmHWM");
    const long pss = KiB(child, "smaps_rollup", "Pss");
    const long anonymous = KiB(child, "status", "RssAnon");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    if (!painted) {
        std::fprintf(stderr, mapped == XCB_NONE ? "the program mapped no window\n"
                                                : "the program painted nothing\n");
        return 1;
    }
    std::printf("%.2f %.2f %.2f %ld %ld %ld\n", Ms(start, mapAt), Ms(start, firstFrame),
                Ms(start, lastFrame), peak, pss, anonymous);
    return 0;
}
