#pragma once

#include <vector>

class Frame;

// The frames waiting for a redraw, never a frame together with one of its ancestors, and their
// redraw. Editor thread.
class UpdateSet {
 public:
  // Nothing when the frame or an ancestor waits already; otherwise it waits instead of its
  // descendants.
  void Add(Frame* frame);
  // Also out of a redraw under way, so a frame that goes during it is not drawn.
  void Remove(Frame* frame) noexcept;
  void Clear() noexcept { mFrames.clear(); }
  const std::vector<Frame*>& Frames() const { return mFrames; }
  bool IsRedrawing() const { return mRedrawing; }

  // Redraws every waiting frame whole, in set order; what those draws add waits for the next
  // call. A frame whose draw throws is dropped, the frames after it wait again, and the failure
  // propagates.
  void RedrawAll();

 private:
  std::vector<Frame*> mFrames{};
  std::vector<Frame*> mPending{};  // the frames a redraw still has to draw; null once gone
  bool mRedrawing{false};
};
