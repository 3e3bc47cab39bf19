#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "toolkit/frames/FrameOverlay.h"

class Frame;

// Parameter highlights: per parameter index whether it is highlighted, and which frames show it.
// A frame bound to a parameter (by its four-character id; an unknown id binds nothing) shows the
// highlight: a ParameterHiliteAwareFrame shows it itself, any other frame gets an overlay. A frame
// keeps its first binding's mode. Editor thread.
class HighlightBindings {
 public:
  // Makes the overlay of a highlighted frame that shows no highlight itself.
  using CreateOverlay =
      std::function<std::unique_ptr<FrameOverlay>(std::int32_t index, std::int32_t type, std::int32_t mode)>;

  explicit HighlightBindings(CreateOverlay create) : mCreate(std::move(create)) {}

  // Drops every binding and highlight: one entry per parameter of the plug-in's description.
  void Reset();
  void Bind(Frame* frame, std::int32_t parameterId, std::int32_t mode);
  // parameterId -1: every parameter.
  void Unbind(Frame* frame, std::int32_t parameterId);
  // An index out of range is ignored.
  void Set(std::int32_t index, bool on, std::int32_t type);
  // A frame that goes leaves every list without being touched.
  void Forget(Frame* frame) noexcept;

 private:
  struct Highlight {
    bool on{false};
    std::int32_t type{0};
    std::vector<std::pair<Frame*, std::int32_t>> frames{};  // with their modes
  };

  void LeaveIndex(Frame* frame, std::int32_t index) noexcept;

  CreateOverlay mCreate{};
  std::vector<Highlight> mHighlights{};
  std::map<Frame*, std::vector<std::int32_t>> mFrameBindings{};  // per frame the indices it is bound to
};
