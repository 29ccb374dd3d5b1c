// Closes a program's window the way a desktop does: waits for its mapped top-level window (found
// by the WM_CLASS instance name), sends it a WM_DELETE_WINDOW client message and waits until the
// X server has read it. Asked to, it first records what the window shows: its title, its size,
// the size limits it asks for, its WM_CLASS and its picture. Exits 0 once the request is delivered,
// 1 when it is not (no window in time, or the display was lost), 2 on a wrong command line.
#include <xcb/xcb.h>

#include <chrono>
#include <fstream>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

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

// WM_CLASS's two strings, the instance (the program's file name) and the class a dock matches to
// the menu entry; empty when the window has none.
std::pair<std::string, std::string> wm_class(xcb_connection_t* c, xcb_window_t window) {
    reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!r || r->format != 8) {
        return {};
    }
    const char* value = static_cast<const char*>(xcb_get_property_value(r.get()));
    const std::size_t length = std::size_t(xcb_get_property_value_length(r.get()));
    std::string instance(value, strnlen(value, length));
    if (instance.size() + 1 >= length) {
        return {instance, {}};
    }
    const char* rest = value + instance.size() + 1;
    std::string window_class(rest, strnlen(rest, length - instance.size() - 1));
    return {std::move(instance), std::move(window_class)};
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
        if (wm_class(c, child).first == instance && viewable(c, child) &&
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

std::string title_of(xcb_connection_t* c, xcb_window_t window) {
    const xcb_atom_t net_name = intern(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = intern(c, "UTF8_STRING");
    for (const auto& [name, type] :
         {std::pair{net_name, utf8},
          std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
        reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr));
        if (r && r->format == 8 && xcb_get_property_value_length(r.get()) > 0) {
            return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                               std::size_t(xcb_get_property_value_length(r.get())));
        }
    }
    return {};
}

// The least and the most client area the window asks the window manager for (WM_NORMAL_HINTS),
// as "least WxH, most WxH", a side it leaves open as "none".
std::string limits_of(xcb_connection_t* c, xcb_window_t window) {
    reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18),
        nullptr));
    // flags, then x, y, width, height, then the least and the most width and height.
    if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) < 9 * 4) {
        return "least none, most none";
    }
    const auto* hints = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    const auto size = [&](uint32_t flag, int at) {
        return (hints[0] & flag) != 0
                   ? std::to_string(hints[at]) + "x" + std::to_string(hints[at + 1])
                   : std::string("none");
    };
    constexpr uint32_t least_given = 1u << 4;
    constexpr uint32_t most_given = 1u << 5;
    return "least " + size(least_given, 5) + ", most " + size(most_given, 7);
}

// The window's pixels as 8-bit red, green, blue, row by row; empty when they cannot be read.
std::vector<unsigned char> picture_of(xcb_connection_t* c, xcb_window_t window, int width,
                                      int height) {
    reply<xcb_get_image_reply_t> r(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          uint16_t(width), uint16_t(height), ~0u),
                            nullptr));
    std::vector<unsigned char> rgb;
    // A 24- or 32-bit visual keeps each pixel in four bytes: blue, green, red, unused.
    if (!r || xcb_get_image_data_length(r.get()) != width * height * 4) {
        return rgb;
    }
    const uint8_t* data = xcb_get_image_data(r.get());
    rgb.reserve(std::size_t(width) * std::size_t(height) * 3);
    for (int i = 0; i < width * height; ++i) {
        rgb.insert(rgb.end(), {data[4 * i + 2], data[4 * i + 1], data[4 * i]});
    }
    return rgb;
}

// Prints the window's title and size and writes its picture as a PPM file, once two looks a
// moment apart show the same picture (the window has finished drawing).
bool describe(xcb_connection_t* c, xcb_window_t window, const char* picture_file) {
    reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    if (!geometry) {
        return false;
    }
    const int width = geometry->width;
    const int height = geometry->height;
    std::vector<unsigned char> picture;
    for (int look = 0; look < 50; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::vector<unsigned char> next = picture_of(c, window, width, height);
        if (!next.empty() && next == picture) {
            break;
        }
        picture = std::move(next);
    }
    if (picture.empty()) {
        std::fputs("close_window: cannot read the window's picture\n", stderr);
        return false;
    }
    const auto [instance, window_class] = wm_class(c, window);
    std::printf("title: %s\nsize: %dx%d\nlimits: %s\nclass: \"%s\", \"%s\"\n",
                title_of(c, window).c_str(), width, height, limits_of(c, window).c_str(),
                instance.c_str(), window_class.c_str());
    std::ofstream out(picture_file, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
    return bool(out);
}

// Sends the close request and waits for the server's verdict on it. The server handles one
// client's requests in order, so its answer to a request sent after this one (xcb_request_check
// asks for the input focus when the request itself has no reply) shows that it has read the
// close request and delivered it, or refused it (the window is gone). A flush alone only hands
// the request to the socket: an X server that finds the connection already closed when it
// comes to read drops what is still unread, and the request is lost now and then.
bool send_and_confirm(xcb_connection_t* c, xcb_window_t window, const char* event) {
    reply<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT, event)));
    if (error) {
        std::fprintf(stderr, "close_window: the X server refused the close request (error %d)\n",
                     error->error_code);
        return false;
    }
    if (xcb_connection_has_error(c) != 0) {
        std::fputs("close_window: lost the X display before the close request was read\n", stderr);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 4) {
        std::fputs("usage: close_window INSTANCE_NAME [TIMEOUT_SECONDS [PICTURE_FILE]]\n", stderr);
        return 2;
    }
    const std::string instance = argv[1];
    const int timeout = argc >= 3 ? std::atoi(argv[2]) : 30;
    const char* picture_file = argc == 4 ? argv[3] : nullptr;
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
            if (picture_file != nullptr && !describe(c, window, picture_file)) {
                return 1;
            }
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = protocols;
            event.data.data32[0] = delete_window;
            event.data.data32[1] = XCB_CURRENT_TIME;
            if (!send_and_confirm(c, window, reinterpret_cast<const char*>(&event))) {
                return 1;
            }
            std::printf("close_window: delivered WM_DELETE_WINDOW to window 0x%x\n", window);
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
