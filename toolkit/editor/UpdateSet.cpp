#include "toolkit/editor/UpdateSet.h"

#include <algorithm>
#include <cstddef>

#include "toolkit/frames/Frame.h"

namespace {

bool IsAncestorOrSelf(const Frame* ancestor, const Frame* frame) {
  for (; frame; frame = frame->GetParent())
    if (frame == ancestor) return true;
  return false;
}

}  // namespace

void UpdateSet::Add(Frame* frame) {
  for (const Frame* waiting : mFrames)
    if (IsAncestorOrSelf(waiting, frame)) return;
  mFrames.erase(std::remove_if(mFrames.begin(), mFrames.end(),
                               [frame](const Frame* waiting) { return IsAncestorOrSelf(frame, waiting); }),
                mFrames.end());
  mFrames.push_back(frame);
}

void UpdateSet::Remove(Frame* frame) noexcept {
  mFrames.erase(std::remove(mFrames.begin(), mFrames.end(), frame), mFrames.end());
  std::replace(mPending.begin(), mPending.end(), frame, static_cast<Frame*>(nullptr));
}

void UpdateSet::RedrawAll() {
  // Both lists keep their capacity and trade places, so once both have grown to the set's size a
  // redraw allocates nothing.
  mPending.clear();
  if (mPending.capacity() < mFrames.capacity()) mPending.reserve(mFrames.capacity());
  mPending.swap(mFrames);
  mRedrawing = true;
  std::size_t next = 0;
  try {
    for (; next < mPending.size(); ++next) {
      Frame* frame = mPending[next];
      if (!frame) continue;
      mPending[next] = nullptr;
      frame->Redraw(nullptr, Frame::kLocalRect);
    }
  } catch (...) {
    // The frame that failed is dropped, so a failing draw cannot repeat at every scope.
    mRedrawing = false;
    for (++next; next < mPending.size(); ++next)
      if (mPending[next]) Add(mPending[next]);
    mPending.clear();
    throw;
  }
  mRedrawing = false;
  mPending.clear();
}
