#include "toolkit/drawing/DrawContext.h"

#include <algorithm>

#include "toolkit/editor/TextEditDialogUser.h"

DrawContext::~DrawContext() = default;

void DrawContext::BeginTextEdit(const Rect&, const std::string&, std::unique_ptr<TextEditDialogUserProxy>) {}

void DrawContext::AddExclusionRect(const void* key, const Rect& rect, std::int32_t priority) {
  auto byKey = [key](const ExclusionEntry& e) { return e.key == key; };
  if (std::any_of(mExclusions.begin(), mExclusions.end(), byKey)) return;
  auto higher = std::find_if(mExclusions.begin(), mExclusions.end(),
                             [priority](const ExclusionEntry& e) { return e.priority > priority; });
  mExclusions.insert(higher, ExclusionEntry{rect, priority, key, false});
  RebuildExclusionRegion();
}

void DrawContext::RemoveExclusionRect(const void* key) {
  mExclusions.erase(std::remove_if(mExclusions.begin(), mExclusions.end(),
                                   [key](const ExclusionEntry& e) { return e.key == key; }),
                    mExclusions.end());
  RebuildExclusionRegion();
}

void DrawContext::UpdateExclusionRect(const void* key, bool drawing) {
  for (ExclusionEntry& e : mExclusions) {
    if (e.key != key) continue;
    e.drawing = drawing;
    RebuildExclusionRegion();
    return;
  }
}

void DrawContext::ClearExclusionRects() {
  mExclusions.clear();
  RebuildExclusionRegion();
}

void DrawContext::RebuildExclusionRegion() {
  if (mExclusions.empty()) {
    mExclusionRegion.reset();
    return;
  }
  if (!mExclusionRegion) mExclusionRegion = NewRegion();
  mExclusionRegion->Clear();
  std::unique_ptr<Region> one = NewRegion();
  // From the highest priority down to the entry that is drawing.
  for (auto e = mExclusions.rbegin(); e != mExclusions.rend() && !e->drawing; ++e) {
    one->SetRect(e->rect);
    mExclusionRegion->Union(*one);
  }
}

void DrawContext::ClipToRect(const Rect& rect) {
  if (!mExclusionRegion || mExclusionRegion->IsEmpty()) {
    SetClipRect(rect);
    return;
  }
  const Rect device = ToDevice(rect);
  std::unique_ptr<Region> allowed = NewRegion();
  allowed->SetRect(GetBounds());
  allowed->Subtract(*mExclusionRegion);
  std::unique_ptr<Region> wanted = NewRegion();
  wanted->SetRect(device);
  allowed->Intersect(*wanted);
  SetClipRegion(*allowed);
}
