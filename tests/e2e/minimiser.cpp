// SPDX-License-Identifier: GPL-3.0-or-later
// The one thing many window managers do that the end-to-end display lacks: a window asked to
// be minimised (WM_CHANGE_STATE, as `xdotool windowminimize` or a task bar sends it) is marked
// iconic in its WM_STATE and unmapped. Prints "ready" once it listens; ends with the display.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

constexpr std::uint32_t kIconicState = 3;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

} // namespace

int main()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("minimiser: cannot connect to the display\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t changeState = atom(connection, "WM_CHANGE_STATE");
    const xcb_atom_t wmState = atom(connection, "WM_STATE");
    // Client messages for the window manager go to the root with this mask; listening to it
    // does not take over mapping, so the windows still map at once.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    std::puts("ready");
    std::fflush(stdout);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == changeState && message->format == 32 &&
                message->data.data32[0] == kIconicState) {
                // As the window managers that do it: the state first, then the window away.
                const std::uint32_t state[2] = {kIconicState, XCB_WINDOW_NONE};
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, message->window, wmState,
                                    wmState, 32, 2, state);
                xcb_unmap_window(connection, message->window);
                xcb_flush(connection);
            }
        }
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
