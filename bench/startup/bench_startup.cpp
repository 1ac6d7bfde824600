// Times the program's start from the outside, as a person sees it: from the moment the
// program is started to the moment the X server maps its main window (title "Jigtally").
// The program is then ended, and the next start timed. The first start is not counted
// (it is the one that fills the system's file cache), the others are printed with their
// median.
//
//   bench_startup PROGRAM [starts]      (needs an X server: see bench/startup/run.sh)
//
// The program runs with HOME and XDG_CONFIG_HOME as they are set for this bench, so the
// caller gives it a home where the alias already exists (no first-start message).

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string windowName(xcb_connection_t* c, xcb_window_t w) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr),
        &free);
    if (!reply)
        return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, std::size_t(xcb_get_property_value_length(reply.get())));
}

// Milliseconds from the start of `program` to the map of its main window; -1 when it
// did not come within 30 seconds.
double timeOneStart(xcb_connection_t* c, const char* program) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    const Clock::time_point started = Clock::now();
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        return -1;
    }
    double ms = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (ms < 0) {
        const auto waited = Clock::now() - started;
        if (waited > std::chrono::seconds(30))
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 100);
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                const Clock::time_point mapped = Clock::now();
                if (windowName(c, map->window) == "Jigtally")
                    ms = std::chrono::duration<double, std::milli>(mapped - started).count();
            }
            free(e);
        }
        if (xcb_connection_has_error(c))
            break;
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM [starts]\n");
        return 2;
    }
    const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server (DISPLAY)\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    if (timeOneStart(c, argv[1]) < 0) {
        std::fprintf(stderr, "the main window of %s was never mapped\n", argv[1]);
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < starts; ++i) {
        const double ms = timeOneStart(c, argv[1]);
        if (ms < 0) {
            std::fprintf(stderr, "start %d: the main window was never mapped\n", i + 1);
            return 1;
        }
        std::printf("start %2d: %7.1f ms\n", i + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("start to main window mapped, median of %zu starts: %.1f ms\n", n, median);
    xcb_disconnect(c);
    return 0;
}
