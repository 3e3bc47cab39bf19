#include "toolkit/editor/MouseTargets.h"

#include <algorithm>

#include "toolkit/frames/Frame.h"

void MouseTargets::AddModal(Frame* frame) {
  if (std::find(mModal.begin(), mModal.end(), frame) == mModal.end()) mModal.push_back(frame);
}

void MouseTargets::RemoveModal(Frame* frame) noexcept {
  mModal.erase(std::remove(mModal.begin(), mModal.end(), frame), mModal.end());
}

Frame* MouseTargets::TopModal() const {
  Frame* top = nullptr;
  for (Frame* frame : mModal) {
    if (!top || frame->GetExclusionPriority() >= top->GetExclusionPriority()) top = frame;
  }
  return top;
}

Frame* MouseTargets::TakeCapture() noexcept {
  Frame* frame = mCapture;
  mCapture = nullptr;
  return frame;
}

void MouseTargets::Forget(Frame* frame) noexcept {
  RemoveModal(frame);
  if (mOver == frame) mOver = nullptr;
}
