#pragma once

#include <cstdint>

#include "framework/core/PluginUIRootInterface.h"

// Takes the refusals a core reports, so a fuzzer's output stays readable.
class QuietRoot : public PluginUIRootInterface {
 public:
  bool IsOpen() const override { return true; }
  bool ShowError(const char*, const char*, std::int32_t, std::int32_t) override { return true; }
};
