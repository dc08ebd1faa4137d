// When a process's first window becomes visible, for bench/startup: bench_mapwatch PID prints the
// milliseconds since that process started (as its start-up trace counts them) at which the display
// mapped a top-level window of it (by _NET_WM_PID), or "none" once the process has ended or 60 s
// have passed. It listens for the display's map events instead of asking it over and over: a
// poll's own processes would take the processor from the program measured.
#include "startup/startuptrace.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <poll.h>
#include <signal.h>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool ownedBy(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t pidAtom, uint32_t pid) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    return reply && xcb_get_property_value_length(reply.get()) == 4 &&
           *static_cast<uint32_t*>(xcb_get_property_value(reply.get())) == pid;
}

bool viewable(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr), &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

int found(int pid) {
    std::printf("%.0f\n", kivo::startup::SinceStartOf(pid));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_mapwatch PID\n");
        return 2;
    }
    const int pid = std::atoi(argv[1]);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_mapwatch: no display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t pidAtom = atom(connection, "_NET_WM_PID");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // A window mapped before the watch began.
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr),
                                             &std::free);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (viewable(connection, children[i]) && ownedBy(connection, children[i], pidAtom, pid)) {
                return found(pid);
            }
        }
    }
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (std::chrono::steady_clock::now() < limit && ::kill(pid, 0) == 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            std::free(event);
            if (mapped && ownedBy(connection, window, pidAtom, pid)) {
                return found(pid);
            }
        }
        ::poll(&display, 1, 50);
    }
    std::printf("none\n");
    return 0;
}
