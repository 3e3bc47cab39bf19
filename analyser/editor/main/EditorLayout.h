#pragma once

#include <cstdint>

class Frame;
class Korvane;

// The editor's four strips, one below the other, each as wide as the panel: the header, the
// phase-and-balance panel, the master-alarm strip and the global strip.
namespace editorlayout {

constexpr std::int32_t kWidth = 399;
constexpr std::int32_t kHeaderHeight = 24;
constexpr std::int32_t kPanelHeight = 369;
constexpr std::int32_t kMasterAlarmHeight = 41;
constexpr std::int32_t kGlobalHeight = 36;

constexpr std::int32_t kPanelTop = kHeaderHeight;
constexpr std::int32_t kMasterAlarmTop = kPanelTop + kPanelHeight;
constexpr std::int32_t kGlobalTop = kMasterAlarmTop + kMasterAlarmHeight;
constexpr std::int32_t kHeight = kGlobalTop + kGlobalHeight;

}  // namespace editorlayout

struct EditorLayoutSize {
  std::int32_t width{0};
  std::int32_t height{0};
};

// 399 x 470.
constexpr EditorLayoutSize GetEditorLayoutSize() { return {editorlayout::kWidth, editorlayout::kHeight}; }

// Creates the four strips as children of the parent; the frame tree owns them.
void BuildEditorLayout(Korvane& plugin, Frame* parent);
