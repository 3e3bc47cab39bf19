#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/PixelBuffer.h"
#include "platform/WindowEvent.h"

// The text of an in-place edit: at most kMaxLength Latin-1 bytes, a caret and a selection.
// Starts with the whole text selected; typing replaces the selection.
class EditFieldText {
 public:
  static constexpr size_t kMaxLength = 64;
  enum class Outcome { kEditing, kCommit, kCancel };

  explicit EditFieldText(const std::string& initial);

  Outcome HandleKey(EditKey key, std::uint8_t character);

  const std::string& Text() const { return mText; }
  size_t Caret() const { return mCaret; }
  // The selection is [SelectionStart, SelectionEnd); empty when they are equal.
  size_t SelectionStart() const { return mAnchor < mCaret ? mAnchor : mCaret; }
  size_t SelectionEnd() const { return mAnchor < mCaret ? mCaret : mAnchor; }

 private:
  void DeleteSelection();
  void MoveCaret(size_t position);

  std::string mText;
  size_t mCaret = 0;
  size_t mAnchor = 0;  // the other end of the selection
};

// Paints an edit field's inside (text, caret, selection); the toolkit supplies it with its font.
class EditFieldRenderer {
 public:
  virtual ~EditFieldRenderer() = default;
  virtual void Render(const EditFieldText& field, const PixelBuffer& target) = 0;
};

// The end of an edit: the text when committed, nothing when cancelled. Called once per edit.
using EditFieldDone = std::function<void(const std::optional<std::string>& text)>;
