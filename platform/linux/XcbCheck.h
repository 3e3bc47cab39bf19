#pragma once

#include <xcb/xcb.h>

#include <cstdlib>

// Waits for a checked request's answer; true when the server carried it out.
inline bool Succeeded(xcb_connection_t* connection, xcb_void_cookie_t cookie) {
  xcb_generic_error_t* error = xcb_request_check(connection, cookie);
  std::free(error);
  return error == nullptr;
}
