// A minimal X11 clipboard manager for tests: owns CLIPBOARD_MANAGER, and on a
// SAVE_TARGETS request takes the clipboard's text from its owner while the owner
// waits. Prints "ready" once it owns CLIPBOARD_MANAGER, and after each save
// "saved N" and the N bytes of text.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_connection_t *c;
xcb_window_t self;

xcb_atom_t Atom(const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void Notify(const xcb_selection_request_event_t &request, xcb_atom_t property)
{
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&notify));
    xcb_flush(c);
}

} // namespace

int main()
{
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    self = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, self, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t manager = Atom("CLIPBOARD_MANAGER"), saveTargets = Atom("SAVE_TARGETS"),
                     clipboard = Atom("CLIPBOARD"), utf8 = Atom("UTF8_STRING"),
                     saved = Atom("RKF_TEST_SAVED");
    xcb_set_selection_owner(c, self, manager, XCB_CURRENT_TIME);
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);

    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        if ((event->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
            const auto request = *reinterpret_cast<xcb_selection_request_event_t *>(event);
            if (request.selection == manager && request.target == saveTargets) {
                // Fetch the text from the clipboard's owner, which waits for us.
                xcb_convert_selection(c, self, clipboard, utf8, saved, request.time);
                xcb_flush(c);
                xcb_atom_t got = XCB_ATOM_NONE;
                while (xcb_generic_event_t *answer = xcb_wait_for_event(c)) {
                    const bool done = (answer->response_type & 0x7F) == XCB_SELECTION_NOTIFY;
                    if (done)
                        got = reinterpret_cast<xcb_selection_notify_event_t *>(answer)->property;
                    std::free(answer);
                    if (done)
                        break;
                }
                xcb_get_property_reply_t *value =
                    got == XCB_ATOM_NONE
                        ? nullptr
                        : xcb_get_property_reply(
                              c, xcb_get_property(c, 1, self, saved, XCB_ATOM_ANY, 0, 1 << 24), nullptr);
                if (value) {
                    const std::string text(static_cast<const char *>(xcb_get_property_value(value)),
                                           xcb_get_property_value_length(value));
                    std::free(value);
                    std::printf("saved %zu\n%s", text.size(), text.c_str());
                    std::fflush(stdout);
                }
                Notify(request, request.property);
            } else {
                Notify(request, XCB_ATOM_NONE);
            }
        }
        std::free(event);
    }
    return 0;
}
