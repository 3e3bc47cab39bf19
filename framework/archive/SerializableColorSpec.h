#pragma once

#include "framework/archive/Serializable.h"

#include <cstdint>

namespace ZEBCanvas {

// An archived colour: three 16-bit components, 0xFFFF full.
class SerializableColorSpec : public Serialization::Serializable {
 public:
  SerializableColorSpec() = default;
  SerializableColorSpec(std::uint16_t red, std::uint16_t green, std::uint16_t blue)
      : mRed(red), mGreen(green), mBlue(blue) {}

  std::string_view GetTypeId() const override { return "SerializableColorSpec"; }
  void Save(Serialization::Archive& archive) override;
  // A missing component reads as 0.
  void Load(Serialization::Archive& archive) override;

  std::uint16_t mRed{0};
  std::uint16_t mGreen{0};
  std::uint16_t mBlue{0};
};

}  // namespace ZEBCanvas
