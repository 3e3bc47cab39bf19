#include "framework/archive/SerializableColorSpec.h"

#include "framework/archive/Archive.h"

namespace ZEBCanvas {
namespace {

std::uint16_t LowBits(std::int32_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }

}  // namespace

void SerializableColorSpec::Save(Serialization::Archive& archive) {
  archive.WriteInt("red", mRed);
  archive.WriteInt("green", mGreen);
  archive.WriteInt("blue", mBlue);
}

void SerializableColorSpec::Load(Serialization::Archive& archive) {
  mRed = LowBits(archive.ReadIntOrDefault("red", 0));
  mGreen = LowBits(archive.ReadIntOrDefault("green", 0));
  mBlue = LowBits(archive.ReadIntOrDefault("blue", 0));
}

}  // namespace ZEBCanvas
