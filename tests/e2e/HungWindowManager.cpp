// A window manager that hangs: it takes over the mapping of every new window
// and never maps one. Says "ready" on stdout once it holds the screen.
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

int main()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    if (xcb_generic_error_t *error = xcb_request_check(connection,
            xcb_change_window_attributes_checked(
                connection, screen->root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        return 2; // another manager holds the screen
    }
    std::puts("ready");
    std::fflush(stdout);
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection))
        std::free(event); // map requests above all: none is ever answered
    return 0;
}
