// Closes a program's window the way a desktop does: waits for its mapped top-level window (found
// by the WM_CLASS instance name) and sends it a WM_DELETE_WINDOW client message.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace {

struct free_deleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using reply = std::unique_ptr<T, free_deleter>;

struct connection_deleter {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

xcb_atom_t intern(xcb_connection_t* c, std::string_view name) {
    reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.data()), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The instance part of WM_CLASS (the first of its two strings), empty when there is none.
std::string instance_name(xcb_connection_t* c, xcb_window_t window) {
    reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!r || r->format != 8) {
        return {};
    }
    const char* value = static_cast<const char*>(xcb_get_property_value(r.get()));
    const int length = xcb_get_property_value_length(r.get());
    return std::string(value, strnlen(value, std::size_t(length)));
}

bool accepts_delete(xcb_connection_t* c, xcb_window_t window, xcb_atom_t protocols,
                    xcb_atom_t delete_window) {
    reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, protocols, XCB_ATOM_ATOM, 0, 64), nullptr));
    if (!r || r->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
    const int count = xcb_get_property_value_length(r.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == delete_window) {
            return true;
        }
    }
    return false;
}

bool viewable(xcb_connection_t* c, xcb_window_t window) {
    reply<xcb_get_window_attributes_reply_t> r(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
}

// Searches the tree below `parent` (a window manager's frames included) for the program's window.
xcb_window_t find_window(xcb_connection_t* c, xcb_window_t parent, const std::string& instance,
                         xcb_atom_t protocols, xcb_atom_t delete_window, int depth) {
    reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr));
    if (!tree) {
        return XCB_WINDOW_NONE;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
        const xcb_window_t child = children[i];
        if (instance_name(c, child) == instance && viewable(c, child) &&
            accepts_delete(c, child, protocols, delete_window)) {
            return child;
        }
        if (depth > 0) {
            const xcb_window_t below =
                find_window(c, child, instance, protocols, delete_window, depth - 1);
            if (below != XCB_WINDOW_NONE) {
                return below;
            }
        }
    }
    return XCB_WINDOW_NONE;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: close_window INSTANCE_NAME [TIMEOUT_SECONDS]\n", stderr);
        return 2;
    }
    const std::string instance = argv[1];
    const int timeout = argc == 3 ? std::atoi(argv[2]) : 30;
    if (timeout <= 0) {
        std::fprintf(stderr, "close_window: '%s' is not a number of seconds\n", argv[2]);
        return 2;
    }

    int screen_number = 0;
    std::unique_ptr<xcb_connection_t, connection_deleter> connection(
        xcb_connect(nullptr, &screen_number));
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c) != 0) {
        std::fputs("close_window: cannot connect to the X display (is DISPLAY set?)\n", stderr);
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen_number && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t protocols = intern(c, "WM_PROTOCOLS");
    const xcb_atom_t delete_window = intern(c, "WM_DELETE_WINDOW");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout);
    while (std::chrono::steady_clock::now() < deadline) {
        const xcb_window_t window = find_window(c, root, instance, protocols, delete_window, 2);
        if (window != XCB_WINDOW_NONE) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = protocols;
            event.data.data32[0] = delete_window;
            event.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&event));
            xcb_flush(c);
            std::printf("close_window: sent WM_DELETE_WINDOW to window 0x%x\n", window);
            return 0;
        }
        if (xcb_connection_has_error(c) != 0) {
            std::fputs("close_window: lost the X display\n", stderr);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fprintf(stderr, "close_window: no window of '%s' appeared within %d s\n", instance.c_str(),
                 timeout);
    return 1;
}
