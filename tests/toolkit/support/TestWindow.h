#pragma once

#include <memory>
#include <string>

#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/TextEditDialogUser.h"

// The editor window of the toolkit's tests: an image with scripted modifier keys and an in-place
// edit that the test ends by hand. Like the real window it holds one edit at a time: a new one
// cancels the old.
class TestWindow : public OGWorld {
 public:
  explicit TestWindow(const Rect& rect) : OGWorld(rect) {}

  bool IsControlKeyDown() const override { return control; }
  bool IsShiftKeyDown() const override { return shift; }
  bool IsControlShiftDown() const override { return control && shift; }
  bool IsExtraModifierDown() const override { return extra; }

  void MoveTo(Point point) override {
    pen = point;
    OGWorld::MoveTo(point);
  }
  std::int32_t GetStringWidth(const char* text) override {
    return stringWidth >= 0 ? stringWidth : OGWorld::GetStringWidth(text);
  }

  void BeginTextEdit(const Rect& rect, const std::string& text,
                     std::unique_ptr<TextEditDialogUserProxy> proxy) override {
    EndEdit(nullptr);
    editRect = rect;
    editText = text;
    ++editsBegun;
    edit = std::move(proxy);
  }

  // text null: cancelled. The proxy goes as the real window's does.
  void EndEdit(const std::string* text) {
    if (!edit) return;
    std::unique_ptr<TextEditDialogUserProxy> ending = std::move(edit);
    ending->EditFinished(text);
  }

  bool control{false};
  bool shift{false};
  bool extra{false};
  Point pen{};          // the last MoveTo, before the origin
  int stringWidth{-1};  // every string this wide when 0 or more
  std::unique_ptr<TextEditDialogUserProxy> edit{};
  Rect editRect{};
  std::string editText{};
  int editsBegun{0};
};
