// A top panel for desktop tests: a dock window across the top of the screen that reserves HEIGHT
// pixels there (_NET_WM_STRUT and _NET_WM_STRUT_PARTIAL), as most desktops' panels do. It stays
// until it is ended.
//
// usage: top_panel HEIGHT
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  free(reply);
  return atom;
}

}  // namespace

int main(int argc, char** argv) {
  const int height = argc == 2 ? std::atoi(argv[1]) : 0;
  if (height <= 0) {
    std::fprintf(stderr, "usage: %s HEIGHT\n", argv[0]);
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "cannot connect to the X display\n");
    return 1;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t window = xcb_generate_id(connection);
  const uint32_t background[] = {0x303030};
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, screen->width_in_pixels,
                    static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL, background);
  const xcb_atom_t dock = Atom(connection, "_NET_WM_WINDOW_TYPE_DOCK");
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_WINDOW_TYPE"),
                      XCB_ATOM_ATOM, 32, 1, &dock);
  // left, right, top, bottom, then the start and end of each edge's span.
  const uint32_t strut[12] = {0,
                              0,
                              static_cast<uint32_t>(height),
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              static_cast<uint32_t>(screen->width_in_pixels - 1),
                              0,
                              0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_STRUT_PARTIAL"),
                      XCB_ATOM_CARDINAL, 32, 12, strut);
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_STRUT"),
                      XCB_ATOM_CARDINAL, 32, 4, strut);
  // Asked-for position and size (USPosition | USSize | PPosition | PSize), so that no window
  // manager places the panel elsewhere.
  uint32_t hints[18] = {1 | 2 | 4 | 8, 0, 0, screen->width_in_pixels, static_cast<uint32_t>(height)};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                      XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
  const char name[] = "top panel";
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      sizeof name - 1, name);
  xcb_map_window(connection, window);
  xcb_flush(connection);
  // Events are not needed; the server's own closing of the connection ends the panel too.
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) free(event);
  return 0;
}
