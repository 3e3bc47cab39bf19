#pragma once

#include <cstdint>
#include <string>

#include "framework/services/TimerClient.h"
#include "toolkit/frames/Frame.h"

// A failure shown inside the open editor: a small modal panel in the middle of the editor that
// goes away at the timer pass after a press on it (never from inside its own mouse handling).
// Several stack at the same place; the newest is on top. Editor thread.
class ErrorFrame : public Frame, public TimerClient<ErrorFrame> {
 public:
  static constexpr std::int32_t kWidth = 260;
  static constexpr std::int32_t kHeight = 100;
  static constexpr std::int32_t kInformationBitmap = 8000;
  static constexpr std::int32_t kAlertBitmap = 8001;

  // message null: "<unknown error>"; detail null: none.
  ErrorFrame(PluginUIRoot* root, const char* message, const char* detail, std::int32_t code,
             std::int32_t type);
  ~ErrorFrame() override;

  void Draw(DrawContext& context, const Rect& area) override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

  const std::string& GetText() const { return mText; }
  std::int32_t GetCode() const { return mCode; }
  std::int32_t GetType() const { return mType; }

 private:
  void Remove();

  std::string mText;
  std::int32_t mCode{0};
  std::int32_t mType{0};
  bool mClosing{false};
};
