#pragma once

#include <cstdint>

#include "platform/PixelBuffer.h"

// Modifier keys and mouse buttons held, as bits of WindowEvent::modifiers.
enum WindowModifier : std::uint32_t {
  kModifierShift = 1u << 0,
  kModifierControl = 1u << 1,
  kModifierLeftButton = 1u << 8,
  kModifierMiddleButton = 1u << 9,
  kModifierRightButton = 1u << 10,
};

enum class MouseButton : std::uint8_t { kNone, kLeft, kMiddle, kRight };

// The modifiers bit of a button held.
constexpr std::uint32_t ButtonModifier(MouseButton button) {
  return button == MouseButton::kLeft     ? std::uint32_t{kModifierLeftButton}
         : button == MouseButton::kMiddle ? kModifierMiddleButton
         : button == MouseButton::kRight  ? kModifierRightButton
                                          : std::uint32_t{0};
}

// Keys the in-place edit field understands; kCharacter carries a Latin-1 byte.
enum class EditKey : std::uint8_t {
  kNone,
  kCharacter,
  kReturn,
  kKeypadEnter,
  kEscape,
  kBackSpace,
  kDelete,
  kLeft,
  kRight,
  kHome,
  kEnd,
};

// One thing that happened to a child window, in window coordinates.
struct WindowEvent {
  enum class Kind : std::uint8_t {
    kMouseDown,
    kMouseUp,
    kMouseMove,
    kKey,
    kExpose,  // area holds the union of the exposures since the last pump
    kFocusIn,
    kFocusOut,
    kDestroyed,  // the window is gone (its parent was destroyed or the display connection lost)
  };

  Kind kind = Kind::kMouseMove;
  std::int32_t x = 0;
  std::int32_t y = 0;
  MouseButton button = MouseButton::kNone;  // the button pressed or released
  std::uint32_t modifiers = 0;              // WindowModifier bits held before the event
  std::uint32_t time = 0;                   // the display's milliseconds
  EditKey key = EditKey::kNone;
  std::uint8_t character = 0;  // kCharacter: the Latin-1 byte
  PixelRect area;              // kExpose
};

class WindowEventSink {
 public:
  virtual ~WindowEventSink() = default;
  virtual void OnWindowEvent(const WindowEvent& event) = 0;
};
