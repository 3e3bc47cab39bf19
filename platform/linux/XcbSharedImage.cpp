#include "platform/linux/XcbSharedImage.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <xcb/shm.h>

#include <cstdlib>

#include "platform/linux/XcbCheck.h"

namespace {

// The server maps a segment only from a client on the same machine: a Unix socket.
bool IsLocal(xcb_connection_t* connection) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  return getsockname(xcb_get_file_descriptor(connection), reinterpret_cast<sockaddr*>(&address), &length) ==
             0 &&
         address.ss_family == AF_UNIX;
}

}  // namespace

std::unique_ptr<XcbSharedImage> XcbSharedImage::Create(xcb_connection_t* connection, std::int32_t width,
                                                       std::int32_t height) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (!extension || !extension->present || !IsLocal(connection)) return nullptr;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return nullptr;
  void* address = shmat(id, nullptr, 0);
  const xcb_shm_seg_t segment = xcb_generate_id(connection);
  const bool attached = address != reinterpret_cast<void*>(-1) &&
                        Succeeded(connection, xcb_shm_attach_checked(connection, segment, id, 1)) &&
                        !xcb_connection_has_error(connection);
  // From here the segment lives only as long as someone has it attached.
  shmctl(id, IPC_RMID, nullptr);
  if (!attached) {
    if (address != reinterpret_cast<void*>(-1)) shmdt(address);
    return nullptr;
  }
  return std::unique_ptr<XcbSharedImage>(
      new XcbSharedImage(connection, segment, address, bytes, extension->first_event + XCB_SHM_COMPLETION));
}

XcbSharedImage::~XcbSharedImage() {
  if (!xcb_connection_has_error(mConnection)) xcb_shm_detach(mConnection, mSegment);
  shmdt(mAddress);
}

bool XcbSharedImage::Fits(std::int32_t width, std::int32_t height) const {
  return static_cast<size_t>(width) * static_cast<size_t>(height) * 4 <= mBytes;
}

std::uint32_t* XcbSharedImage::Writable() {
  if (mBeingRead) {
    // The server carries out requests in order: once a later one is answered the put is done.
    std::free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    mBeingRead = false;
  }
  return static_cast<std::uint32_t*>(mAddress);
}

void XcbSharedImage::Put(xcb_drawable_t target, xcb_gcontext_t gc, std::uint8_t depth, std::int32_t width,
                         std::int32_t height, const PixelRect& area) {
  mLastPut =
      xcb_shm_put_image(mConnection, target, gc, static_cast<std::uint16_t>(width),
                        static_cast<std::uint16_t>(height), static_cast<std::uint16_t>(area.left),
                        static_cast<std::uint16_t>(area.top), static_cast<std::uint16_t>(area.Width()),
                        static_cast<std::uint16_t>(area.Height()), static_cast<std::int16_t>(area.left),
                        static_cast<std::int16_t>(area.top), depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 1, mSegment, 0)
          .sequence;
  mBeingRead = true;
}

bool XcbSharedImage::TakeCompletion(const xcb_generic_event_t& event) {
  if ((event.response_type & 0x7F) != mCompletionEvent) return false;
  const auto& completion = reinterpret_cast<const xcb_shm_completion_event_t&>(event);
  if (completion.shmseg != mSegment) return false;
  if (event.full_sequence == mLastPut) mBeingRead = false;
  return true;
}
