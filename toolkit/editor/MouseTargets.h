#pragma once

#include <vector>

class Frame;

// Where the mouse goes besides hit testing: the modal frames, which take every press while one is
// shown, the frame holding the capture, which gets the drag, and the frame under the mouse, which
// got the last enter. Editor thread.
class MouseTargets {
 public:
  // In order of showing; a frame is added once.
  void AddModal(Frame* frame);
  void RemoveModal(Frame* frame) noexcept;
  const std::vector<Frame*>& Modal() const { return mModal; }
  // The modal frame on top: the highest exclusion priority, the newest among equals; null when
  // none is shown.
  Frame* TopModal() const;

  Frame* Capture() const { return mCapture; }
  void SetCapture(Frame* frame) { mCapture = frame; }
  // The frame that held the capture, which is forgotten.
  Frame* TakeCapture() noexcept;

  Frame* Over() const { return mOver; }
  void SetOver(Frame* frame) { mOver = frame; }

  // A frame that goes leaves the modal list and the place under the mouse; the capture is
  // released by its holder's root, through the root's hooks.
  void Forget(Frame* frame) noexcept;

 private:
  std::vector<Frame*> mModal{};
  Frame* mCapture{nullptr};
  Frame* mOver{nullptr};
};
