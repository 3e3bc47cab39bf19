#include "platform/EditField.h"

EditFieldText::EditFieldText(const std::string& initial)
    : mText(initial.substr(0, kMaxLength)), mCaret(mText.size()), mAnchor(0) {}

void EditFieldText::DeleteSelection() {
  const size_t start = SelectionStart();
  mText.erase(start, SelectionEnd() - start);
  mCaret = mAnchor = start;
}

void EditFieldText::MoveCaret(size_t position) { mCaret = mAnchor = position; }

EditFieldText::Outcome EditFieldText::HandleKey(EditKey key, std::uint8_t character) {
  const bool selected = SelectionStart() != SelectionEnd();
  switch (key) {
    case EditKey::kReturn:
    case EditKey::kKeypadEnter:
      return Outcome::kCommit;
    case EditKey::kEscape:
      return Outcome::kCancel;
    case EditKey::kCharacter:
      // Printable Latin-1 only: no control characters, no DEL.
      if (character < 0x20 || character == 0x7F) break;
      if (selected) DeleteSelection();
      if (mText.size() >= kMaxLength) break;
      mText.insert(mCaret, 1, static_cast<char>(character));
      MoveCaret(mCaret + 1);
      break;
    case EditKey::kBackSpace:
      if (selected) {
        DeleteSelection();
      } else if (mCaret > 0) {
        mText.erase(mCaret - 1, 1);
        MoveCaret(mCaret - 1);
      }
      break;
    case EditKey::kDelete:
      if (selected) {
        DeleteSelection();
      } else if (mCaret < mText.size()) {
        mText.erase(mCaret, 1);
      }
      break;
    case EditKey::kLeft:
      MoveCaret(selected ? SelectionStart() : (mCaret > 0 ? mCaret - 1 : 0));
      break;
    case EditKey::kRight:
      MoveCaret(selected ? SelectionEnd() : (mCaret < mText.size() ? mCaret + 1 : mCaret));
      break;
    case EditKey::kHome:
      MoveCaret(0);
      break;
    case EditKey::kEnd:
      MoveCaret(mText.size());
      break;
    case EditKey::kNone:
      break;
  }
  return Outcome::kEditing;
}
