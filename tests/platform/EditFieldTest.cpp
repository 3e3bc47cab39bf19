#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/EditField.h"

namespace {

struct KeyStroke {
  EditKey key;
  std::uint8_t character;
};

KeyStroke Char(char c) { return {EditKey::kCharacter, static_cast<std::uint8_t>(c)}; }

struct Case {
  const char* name;
  std::string initial;
  std::vector<KeyStroke> keys;
  std::string text;
  size_t caret;
};

TEST(EditFieldText, KeysEditAsAOneLineFieldDoes) {
  const std::vector<Case> cases = {
      {"typing replaces the initial selection", "old", {Char('n'), Char('e'), Char('w')}, "new", 3},
      {"Home then typing inserts at the start", "abc", {{EditKey::kHome, 0}, Char('x')}, "xabc", 1},
      {"End collapses the selection at the end", "abc", {{EditKey::kEnd, 0}, Char('d')}, "abcd", 4},
      {"Left collapses to the selection's start", "abc", {{EditKey::kLeft, 0}, Char('x')}, "xabc", 1},
      {"Right collapses to the selection's end",
       "abc",
       {{EditKey::kRight, 0}, {EditKey::kLeft, 0}, Char('x')},
       "abxc",
       3},
      {"BackSpace deletes the selection", "abc", {{EditKey::kBackSpace, 0}}, "", 0},
      {"BackSpace deletes before the caret", "abc", {{EditKey::kEnd, 0}, {EditKey::kBackSpace, 0}}, "ab", 2},
      {"BackSpace at the start does nothing",
       "abc",
       {{EditKey::kHome, 0}, {EditKey::kBackSpace, 0}},
       "abc",
       0},
      {"Delete deletes after the caret", "abc", {{EditKey::kHome, 0}, {EditKey::kDelete, 0}}, "bc", 0},
      {"Delete at the end does nothing", "abc", {{EditKey::kEnd, 0}, {EditKey::kDelete, 0}}, "abc", 3},
      {"Latin-1 letters insert", "", {Char('\xE9'), Char('\xFF')}, "\xE9\xFF", 2},
      {"control characters and DEL do not", "", {Char('\t'), Char('\x7F'), Char('\x01')}, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditFieldText field(c.initial);
    for (const KeyStroke& k : c.keys)
      EXPECT_EQ(field.HandleKey(k.key, k.character), EditFieldText::Outcome::kEditing);
    EXPECT_EQ(field.Text(), c.text);
    EXPECT_EQ(field.Caret(), c.caret);
  }
}

TEST(EditFieldText, HoldsAtMostSixtyFourCharacters) {
  EditFieldText field(std::string(70, 'i'));
  EXPECT_EQ(field.Text().size(), 64u);
  EXPECT_EQ(field.SelectionStart(), 0u);
  EXPECT_EQ(field.SelectionEnd(), 64u);
  for (int i = 0; i < 70; ++i) field.HandleKey(EditKey::kCharacter, 'a' + i % 26);
  EXPECT_EQ(field.Text().size(), 64u);
  EXPECT_EQ(field.Text().substr(0, 3), "abc");
  // A full field still takes a character that replaces its selection.
  field.HandleKey(EditKey::kHome, 0);
  field.HandleKey(EditKey::kCharacter, 'Z');
  EXPECT_EQ(field.Text().size(), 64u);
  EXPECT_EQ(field.Text()[0], 'a');
}

TEST(EditFieldText, ReturnAndKeypadEnterCommitEscapeCancels) {
  EditFieldText field("x");
  EXPECT_EQ(field.HandleKey(EditKey::kReturn, 0), EditFieldText::Outcome::kCommit);
  EXPECT_EQ(field.HandleKey(EditKey::kKeypadEnter, 0), EditFieldText::Outcome::kCommit);
  EXPECT_EQ(field.HandleKey(EditKey::kEscape, 0), EditFieldText::Outcome::kCancel);
  EXPECT_EQ(field.Text(), "x");
}

}  // namespace
