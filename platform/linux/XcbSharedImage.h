#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/PixelBuffer.h"

// An image in a System V shared memory segment that the X server maps too (MIT-SHM): a put names
// a rectangle of it instead of sending the pixels through the socket. Lives on its window's
// thread and connection.
class XcbSharedImage {
 public:
  // Pixels for width x height; null when the server lacks MIT-SHM, the connection is not a local
  // socket, or the segment cannot be made or attached. Nothing is left behind when the process
  // dies: the segment is removed as soon as both sides have attached it.
  static std::unique_ptr<XcbSharedImage> Create(xcb_connection_t* connection, std::int32_t width,
                                                std::int32_t height);
  ~XcbSharedImage();
  XcbSharedImage(const XcbSharedImage&) = delete;
  XcbSharedImage& operator=(const XcbSharedImage&) = delete;

  // Whether an image of width x height fits in the segment.
  bool Fits(std::int32_t width, std::int32_t height) const;
  // The pixels, once the server has read the last put: its completion seen, else one round trip.
  std::uint32_t* Writable();
  // Shows area of the image laid out width x height in the segment at the same place in target.
  void Put(xcb_drawable_t target, xcb_gcontext_t gc, std::uint8_t depth, std::int32_t width,
           std::int32_t height, const PixelRect& area);
  // True when event is the completion of one of our puts, which then needs nothing else.
  bool TakeCompletion(const xcb_generic_event_t& event);

 private:
  XcbSharedImage(xcb_connection_t* connection, std::uint32_t segment, void* address, size_t bytes,
                 std::uint8_t completionEvent)
      : mConnection(connection),
        mSegment(segment),
        mAddress(address),
        mBytes(bytes),
        mCompletionEvent(completionEvent) {}

  xcb_connection_t* mConnection = nullptr;
  std::uint32_t mSegment = 0;
  void* mAddress = nullptr;
  size_t mBytes = 0;
  std::uint8_t mCompletionEvent = 0;
  bool mBeingRead = false;
  std::uint32_t mLastPut = 0;  // the sequence number of the last put
};
