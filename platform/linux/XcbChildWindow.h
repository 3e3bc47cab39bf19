#pragma once

#include <cstdint>
#include <memory>

#include "platform/ChildWindow.h"

// The editor's window on its own xcb connection to $DISPLAY, inside the window parent, with the
// parent's visual and depth (TrueColor, 24 or 32 bits). Null when that cannot be: no display, a
// bad parent, another visual class, a size of 0. Pixels reach a local server that offers MIT-SHM
// through a shared segment the size of the window, any other in strips through the socket.
std::unique_ptr<ChildWindow> OpenXcbChildWindow(std::uint64_t parent, std::int32_t width,
                                                std::int32_t height);
