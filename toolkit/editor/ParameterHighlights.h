#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/frames/FrameOverlay.h"

class Frame;

// A frame class may add this beside Frame to show parameter highlights itself instead of getting
// an overlay; the editor root finds it by a run-time type query. Editor thread.
class ParameterHiliteAwareFrame {
 public:
  struct Hilite {
    std::int32_t source{0};  // a parameter id
    std::int32_t value{0};   // a highlight type
  };

  explicit ParameterHiliteAwareFrame(Frame* frame) : mFrame(frame) {}
  virtual ~ParameterHiliteAwareFrame() = default;

  // Each redraws the whole frame. Entries keep the order in which they were set.
  void SetHilite(std::int32_t source, std::int32_t value);
  void RemoveHilite(std::int32_t source);
  void ClearHilites();
  const std::vector<Hilite>& GetHilites() const { return mHilites; }

 private:
  void Erase(std::int32_t source);
  void RedrawFrame();

  Frame* mFrame{nullptr};
  std::vector<Hilite> mHilites{};
};

// The overlay the root gives a highlighted frame: three-pixel corner brackets in the highlight
// type's colour; the mode chooses the corners.
class DefaultParameterHighlighter : public FrameOverlay {
 public:
  DefaultParameterHighlighter(std::int32_t type, std::int32_t mode) : mType(type), mMode(mode) {}
  void Draw(Frame& frame, DrawContext& context, const Rect& area) override;
  std::int32_t GetType() const { return mType; }
  std::int32_t GetMode() const { return mMode; }

 private:
  std::int32_t mType{0};
  std::int32_t mMode{0};
};
