#include "toolkit/editor/HighlightBindings.h"

#include <algorithm>

#include "framework/core/PluginMetaClass.h"
#include "toolkit/editor/ParameterHighlights.h"
#include "toolkit/frames/Frame.h"

void HighlightBindings::Reset() {
  mHighlights.clear();
  mFrameBindings.clear();
  if (const ZEBPluginMetaClass* description = GetPluginMetaClass()) {
    mHighlights.resize(static_cast<size_t>(std::max(0, description->GetNumberOfParameters())));
  }
}

void HighlightBindings::Bind(Frame* frame, std::int32_t parameterId, std::int32_t mode) {
  const ZEBPluginMetaClass* description = GetPluginMetaClass();
  const std::int32_t index = description ? description->GetParameterIndex(parameterId) : -1;
  if (!frame || index < 0 || index >= static_cast<std::int32_t>(mHighlights.size())) return;
  Highlight& highlight = mHighlights[static_cast<size_t>(index)];
  const bool known = std::any_of(highlight.frames.begin(), highlight.frames.end(),
                                 [frame](const auto& entry) { return entry.first == frame; });
  if (!known) highlight.frames.emplace_back(frame, mode);
  std::vector<std::int32_t>& bindings = mFrameBindings[frame];
  if (std::find(bindings.begin(), bindings.end(), index) == bindings.end()) bindings.push_back(index);
  auto* aware = dynamic_cast<ParameterHiliteAwareFrame*>(frame);
  if (highlight.on && !aware) {
    frame->SetOverlay(mCreate(index, highlight.type, mode));
    return;
  }
  if (aware) {
    if (highlight.on) {
      aware->SetHilite(parameterId, highlight.type);
    } else {
      aware->RemoveHilite(parameterId);
    }
  }
  frame->SetOverlay(nullptr);
}

void HighlightBindings::Unbind(Frame* frame, std::int32_t parameterId) {
  auto bound = mFrameBindings.find(frame);
  if (bound == mFrameBindings.end()) return;
  const ZEBPluginMetaClass* description = GetPluginMetaClass();
  const std::int32_t only =
      parameterId == -1 || !description ? -1 : description->GetParameterIndex(parameterId);
  if (parameterId != -1 && only < 0) return;
  std::vector<std::int32_t>& indices = bound->second;
  for (std::int32_t index : indices) {
    if (only < 0 || index == only) LeaveIndex(frame, index);
  }
  if (only < 0) {
    mFrameBindings.erase(bound);
  } else {
    indices.erase(std::remove(indices.begin(), indices.end(), only), indices.end());
  }
  if (auto* aware = dynamic_cast<ParameterHiliteAwareFrame*>(frame)) aware->RemoveHilite(parameterId);
  frame->TakeOverlay();
}

void HighlightBindings::Set(std::int32_t index, bool on, std::int32_t type) {
  if (index < 0 || index >= static_cast<std::int32_t>(mHighlights.size())) return;
  Highlight& highlight = mHighlights[static_cast<size_t>(index)];
  highlight.on = on;
  highlight.type = type;
  if (highlight.frames.empty()) return;
  const ZEBPluginMetaClass* description = GetPluginMetaClass();
  const ParameterDescriptor* descriptor = description ? description->GetParameterDescriptor(index) : nullptr;
  const std::int32_t parameterId = descriptor ? descriptor->mId : -1;
  for (const auto& [frame, mode] : highlight.frames) {
    if (mode == 1) continue;
    auto* aware = dynamic_cast<ParameterHiliteAwareFrame*>(frame);
    if (on) {
      if (aware) {
        aware->SetHilite(parameterId, type);
      } else {
        frame->SetOverlay(mCreate(index, type, mode));
      }
    } else if (aware) {
      aware->RemoveHilite(parameterId);
    } else {
      frame->TakeOverlay();
    }
  }
}

void HighlightBindings::Forget(Frame* frame) noexcept {
  auto bound = mFrameBindings.find(frame);
  if (bound == mFrameBindings.end()) return;
  for (std::int32_t index : bound->second) LeaveIndex(frame, index);
  mFrameBindings.erase(bound);
}

void HighlightBindings::LeaveIndex(Frame* frame, std::int32_t index) noexcept {
  auto& frames = mHighlights[static_cast<size_t>(index)].frames;
  frames.erase(
      std::remove_if(frames.begin(), frames.end(), [frame](const auto& e) { return e.first == frame; }),
      frames.end());
}
