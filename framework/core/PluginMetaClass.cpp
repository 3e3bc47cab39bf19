#include "framework/core/PluginMetaClass.h"

#include <cxxabi.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <typeinfo>

#include "framework/core/BankText.h"
#include "framework/metering/Taper.h"

namespace {

const char* const kUnitLabels[13] = {"", "", "", "", "dB", "dB", "Hz", "", "oct", "", "", "", ""};

// Fixed-point text in the C locale, whatever locale the host set.
std::string Fixed(float value, int decimals) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("*");
}

std::string FormatNumber(float value, int decimals, bool thousands) {
  if (decimals >= 1 && (value <= 1000.0f || !thousands)) return Fixed(value, decimals);
  if (decimals < 1 && !thousands) return Fixed(value, 0);
  if (value / 1000.0f <= 1.0f) return Fixed(value, 0);
  return Fixed(std::trunc(value / 1000.0f + 0.5f), 0) + "k";
}

std::string ValueText(const ParameterDescriptor& descriptor, float value, std::int32_t width) {
  const auto& values = descriptor.mTextsByLength;
  if (values.empty()) return {};
  const float offset = value - descriptor.mMinimum;
  std::int32_t valueIndex = 0;
  if (std::isfinite(offset)) {
    valueIndex = static_cast<std::int32_t>(std::clamp(offset, 0.0f, static_cast<float>(values.size() - 1)));
  }
  const auto& texts = values[static_cast<size_t>(valueIndex)];
  const std::int32_t count = static_cast<std::int32_t>(texts.size());
  const std::string* chosen = nullptr;
  for (std::int32_t position = std::min(width, count - 1); position >= 2 && !chosen; --position) {
    if (!texts[static_cast<size_t>(position)].empty()) chosen = &texts[static_cast<size_t>(position)];
  }
  std::string text = chosen ? *chosen : (texts.empty() ? std::string() : texts.back());
  if (width >= 0) text.resize(static_cast<size_t>(width), '\0');
  return text;
}

std::mutex& SingletonMutex() {
  static std::mutex mutex;
  return mutex;
}
ZEBPluginMetaClass* gMetaClass = nullptr;
int gMetaClassReferences = 0;

}  // namespace

ZEBPluginMetaClass::ZEBPluginMetaClass(ParameterFilter filter) : mFilter(std::move(filter)) {}
ZEBPluginMetaClass::~ZEBPluginMetaClass() = default;

std::string ZEBPluginMetaClass::GetVendor() const { return "Quillmore"; }
bool ZEBPluginMetaClass::SupportsSidechain() const { return false; }
std::int32_t ZEBPluginMetaClass::GetNumberOfParameters() const {
  return static_cast<std::int32_t>(mParameters.size());
}
bool ZEBPluginMetaClass::ParametersRepresentCompleteState() const { return false; }

bool ZEBPluginMetaClass::GetExtraItems(std::vector<std::string>& list) const {
  list.clear();
  return false;
}

const ParameterDescriptor* ZEBPluginMetaClass::GetParameterDescriptor(std::int32_t index) const {
  if (index < 0 || index >= GetNumberOfParameters()) return nullptr;
  return &mParameters[static_cast<size_t>(index)];
}

const ParameterDescriptor* ZEBPluginMetaClass::FindParameterDescriptor(std::int32_t id) const {
  for (const auto& descriptor : mParameters) {
    if (descriptor.mId == id) return &descriptor;
  }
  return nullptr;
}

std::int32_t ZEBPluginMetaClass::GetParameterIndex(std::int32_t id) const {
  const ParameterDescriptor* descriptor = FindParameterDescriptor(id);
  return descriptor ? descriptor->mIndex : -1;
}

void ZEBPluginMetaClass::AddParameter(const ParameterDescriptor& descriptor) {
  if (mFilter && !mFilter(descriptor)) return;
  if (FindParameterDescriptor(descriptor.mId)) return;
  ParameterDescriptor added = descriptor;
  added.mIndex = static_cast<std::int32_t>(mParameters.size());
  if (added.mKind == 0 && added.mValueNames.empty()) added.mValueNames = {"Off;0", "On;1"};
  added.mTextsByLength.assign(added.mValueNames.size(), {});
  for (size_t i = 0; i < added.mValueNames.size(); ++i) {
    const std::string& names = added.mValueNames[i];
    size_t start = 0;
    while (start <= names.size()) {
      size_t end = names.find(';', start);
      if (end == std::string::npos) end = names.size();
      const size_t length = end - start;
      if (length > 0) {
        auto& texts = added.mTextsByLength[i];
        if (texts.size() <= length) texts.resize(length + 1);
        texts[length] = names.substr(start, length);
      }
      start = end + 1;
    }
  }
  mParameters.push_back(std::move(added));
}

std::string ZEBPluginMetaClass::GetParameterLabel(std::int32_t index) const {
  const ParameterDescriptor* descriptor = GetParameterDescriptor(index);
  if (!descriptor) return {};
  if (!descriptor->mLabel.empty()) return descriptor->mLabel;
  if (descriptor->mKind < 0 || descriptor->mKind >= 13) return {};
  return kUnitLabels[descriptor->mKind];
}

std::string ZEBPluginMetaClass::GetParameterDisplay(std::int32_t index, float value,
                                                    std::int32_t width) const {
  const ParameterDescriptor* descriptor = GetParameterDescriptor(index);
  if (!descriptor) return {};
  std::string text;
  switch (descriptor->mKind) {
    case 6:
      text = FormatNumber(value, 0, true);
      break;
    case 7:
    case 8:
      text = FormatNumber(value, 2, false);
      break;
    case 0:
    case 1:
    case 3:
      text = descriptor->mValueNames.empty() ? FormatNumber(value, 1, false)
                                             : ValueText(*descriptor, value, width);
      break;
    default:
      text = FormatNumber(value, 1, false);
      break;
  }
  if (width >= 0 && text.size() > static_cast<size_t>(width)) text = width > 0 ? "*" : "";
  return text;
}

std::string ZEBPluginMetaClass::GetParameterDisplayWithLabel(std::int32_t index, float value,
                                                             std::int32_t width) const {
  const std::string text = GetParameterDisplay(index, value, width);
  const std::string label = GetParameterLabel(index);
  if (label.empty()) return text;
  const size_t joined = text.size() + label.size();
  if (width < 0 || static_cast<size_t>(width) > joined) return text + " " + label;
  if (static_cast<size_t>(width) == joined) return text + label;
  return "*";
}

void ZEBPluginMetaClass::GetFactoryPrograms(std::vector<std::string>& names) const {
  const std::string bank = GetDefaultPrograms();
  const std::string maker = GetVendor();
  const std::string displayName = GetProductName();
  bool headerSeen = false;
  bool inProgram = false;
  BankText::Lines lines(bank, true);
  for (std::string_view line; lines.Next(line);) {
    if (!headerSeen) {
      headerSeen = BankText::IsHeaderLine(line, maker, displayName);
    } else if (inProgram) {
      inProgram = line.find(BankText::kProgramClose) == std::string_view::npos;
    } else if (line.find(BankText::kProgramOpen) != std::string_view::npos) {
      names.push_back(BankText::AttributeValue(line, "name"));
      inProgram = true;
    }
  }
}

std::string ZEBPluginMetaClass::GetPrefsName() const {
  const std::string suffix = GetPrefsSuffix();
  return "QMR_" + GetProductName() + (suffix.empty() ? "" : "-" + suffix) + "_Prefs";
}

std::string ZEBPluginMetaClass::Describe() const {
  IOConfigList configs;
  GetIOConfigs(configs);
  std::string text =
      "Name = " + GetName() + ";Version = " + GetVersion() + ";FW Build Type = " + ";IOConfigs = ";
  for (const auto& config : configs) {
    text += "/" + std::to_string(config.first) + "," + std::to_string(config.second);
  }
  text += ";SupportsSidechain = " + std::string(SupportsSidechain() ? "1" : "0");
  text += ";NumberOfPrograms = " + std::to_string(GetNumberOfPrograms());
  text += ";NumberOfParameters = " + std::to_string(GetNumberOfParameters());
  text +=
      ";ParametersRepresentCompleteState = " + std::string(ParametersRepresentCompleteState() ? "1" : "0");
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  text += ";metaclass = " + std::string(status == 0 && demangled ? demangled.get() : mangled);
  return text;
}

float DenormalizeValue(const ParameterDescriptor& descriptor, float normalised) {
  if (std::isnan(normalised)) return descriptor.mMinimum;
  float v = normalised;
  if (descriptor.mKind == 6) v = TaperPositionToValue(std::clamp(v, 0.0f, 1.0f), 0.0015f);
  const float value = descriptor.mMinimum + v * (descriptor.mMaximum - descriptor.mMinimum);
  return std::clamp(value, std::min(descriptor.mMinimum, descriptor.mMaximum),
                    std::max(descriptor.mMinimum, descriptor.mMaximum));
}

float NormalizeValue(const ParameterDescriptor& descriptor, float value) {
  const float range = descriptor.mMaximum - descriptor.mMinimum;
  if (range == 0.0f || std::isnan(value) || std::isnan(range)) return 0.0f;
  float normalised = std::clamp((value - descriptor.mMinimum) / range, 0.0f, 1.0f);
  if (descriptor.mKind == 6) normalised = TaperValueToPosition(normalised, 0.0015f);
  return normalised;
}

ZEBPluginMetaClass* AcquirePluginMetaClass() {
  std::lock_guard<std::mutex> lock(SingletonMutex());
  if (gMetaClassReferences == 0) {
    gMetaClass = CreateVstKorvaneMetaClass();
    if (!gMetaClass) return nullptr;
  }
  ++gMetaClassReferences;
  return gMetaClass;
}

ZEBPluginMetaClass* GetPluginMetaClass() {
  std::lock_guard<std::mutex> lock(SingletonMutex());
  return gMetaClass;
}

void ReleasePluginMetaClass() {
  ZEBPluginMetaClass* doomed = nullptr;
  {
    std::lock_guard<std::mutex> lock(SingletonMutex());
    if (gMetaClassReferences == 0) return;
    if (--gMetaClassReferences == 0) {
      doomed = gMetaClass;
      gMetaClass = nullptr;
    }
  }
  delete doomed;
}
