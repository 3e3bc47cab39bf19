#include <algorithm>
#include <cstring>
#include <new>
#include <sstream>

#include "framework/archive/NumberText.h"
#include "framework/archive/XMLArchive.h"
#include "framework/core/BankText.h"
#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginCore.h"
#include "framework/core/SettingsMetaData.h"
#include "framework/services/InstanceMutexCheck.h"
#include "framework/services/ThrowSites.h"

namespace {

constexpr const char* kUnableToLoad = "Unable to load settings.";
constexpr const char* kNotValid = "These are not valid settings or the settings have been corrupted.  ";
constexpr size_t kChunkTailZeros = 16;
constexpr size_t kMakerWindow = 500;

// Whether the text reads as an archive at all; its objects are checked when it is applied.
bool IsReadableArchive(const std::string& text) {
  try {
    Serialization::XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    return true;
  } catch (const Serialization::XMLArchive::ParseException&) {
    return false;
  }
}

// The text up to its first zero byte.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

void PluginCore::SaveSettings(std::ostream& out) {
  Serialization::XMLArchive archive(out, SettingsArchiveType(), true);
  archive.BeginSave();
  ZEBPluginSettingsMetaData metaData(*mMetaClass.get(), mIOConfig);
  metaData.SaveAsObject(archive, ZEBPluginSettingsMetaData::kObjectName);
  SaveProductState(archive);
  archive.EndSave();
}

std::string PluginCore::LiveSettingsText() {
  std::ostringstream out;
  SaveSettings(out);
  out << '\n';
  return out.str();
}

void PluginCore::LoadSettingsText(const std::string& text) {
  Serialization::XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  ZEBPluginSettingsMetaData metaData;
  metaData.LoadAsObject(archive, ZEBPluginSettingsMetaData::kObjectName);
  LoadProductState(archive, metaData);
}

// A text that fails part-way through its objects must not leave half-loaded state: the live
// state taken just before is put back.
bool PluginCore::ApplyText(const std::string& text, bool report) {
  std::optional<std::string> before;
  try {
    before = LiveSettingsText();
  } catch (...) {
    // A state that cannot be written cannot be put back either; the text is still tried.
  }
  const auto restore = [&] {
    if (!before) return;
    try {
      LoadSettingsText(*before);
    } catch (...) {
      // The failure the user hears of is the text's; a state that will not come back stays as it is.
    }
  };
  try {
    LoadSettingsText(text);
    return true;
  } catch (const Serialization::XMLArchive::ParseException&) {
    restore();
    if (report) ReportError(this, kUnableToLoad, kNotValid, 0, kErrorError);
  } catch (...) {
    restore();
    if (report) ReportError(this, kUnableToLoad, "", 0, kErrorError);
  }
  return false;
}

// Every settings text that changes the live state, whether from a chunk, a program or a file,
// comes through here: marked busy, so the parameter changes it makes are not taken for the user's.
bool PluginCore::GuardedApply(const std::string& text, bool report) {
  InstanceMutexCheck::Expect(this, "ApplySettingsText");
  auto busy = mAudioGate.Busy();
  const bool applied = ApplyText(text, report);
  ResetParameterTracking();
  return applied;
}

bool PluginCore::ApplySettingsText(const std::string& text) { return GuardedApply(text, true); }

bool PluginCore::LoadDefaultSettings(const std::string& name) {
  try {
    std::string text;
    return mPlatform->LoadDefaultSettings(name, text) && GuardedApply(text, false);
  } catch (...) {
    return false;  // the caller reports, where the user asked for it
  }
}

bool PluginCore::SaveDefaultSettings(const std::string& name) {
  try {
    std::ostringstream out;
    SaveSettings(out);
    return mPlatform->SaveDefaultSettings(name, out.str());
  } catch (...) {
    return false;  // the caller reports, where the user asked for it
  }
}

void PluginCore::Open() {
  if (!mDefaultSettings.empty()) return;
  mDefaultSettings = LiveSettingsText();
  if (!mProgramSettings.empty()) mProgramSettings[0] = mDefaultSettings;
}

PluginCore::Bank PluginCore::ReadBank(std::string_view text) const {
  Bank bank;
  bank.names.resize(mProgramNames.size());
  bank.settings.resize(mProgramSettings.size());
  if (text.empty()) return bank;
  const std::string maker = mMetaClass->GetVendor();
  const std::string displayName = mMetaClass->GetProductName();
  // Only lines ended by a line feed are read; any length is read whole. Nothing but the programs
  // kept is held, so a bank of millions of lines or programs is read in bounded memory.
  BankText::Lines lines(text, false);
  std::string_view line;
  bool header = false;
  while (!header && lines.Next(line)) header = BankText::IsHeaderLine(line, maker, displayName);
  if (!header) {
    ReportError(
        const_cast<PluginCore*>(this), kUnableToLoad,
        "These are not valid settings or the settings have been corrupted.  (Unable to find the header.)", 0,
        kErrorError);
    throw Serialization::XMLArchive::ParseException("no bank header", ThrowSites::kBankHeader);
  }
  while (lines.Next(line)) {
    if (line.find(BankText::kProgramOpen) == std::string_view::npos) continue;
    // Negative numbers count as their magnitude; anything beyond the program count is skipped.
    const std::int64_t read = NumberText::ParseInt64(BankText::AttributeValue(line, "number"));
    const std::uint64_t number =
        read < 0 ? 0 - static_cast<std::uint64_t>(read) : static_cast<std::uint64_t>(read);
    const bool kept = number < bank.settings.size();
    if (kept) bank.names[number] = BankText::AttributeValue(line, "name");
    std::string settings;
    while (lines.Next(line) && line.find(BankText::kProgramClose) == std::string_view::npos) {
      if (kept) settings.append(line).push_back('\n');
    }
    if (kept) bank.settings[number] = std::move(settings);
  }
  return bank;
}

void PluginCore::CommitBank(Bank& bank) {
  for (size_t i = 0; i < mProgramNames.size(); ++i) {
    if (bank.names[i]) mProgramNames[i] = std::move(*bank.names[i]);
    if (bank.settings[i]) mProgramSettings[i] = std::move(*bank.settings[i]);
  }
  if (!mProgramSettings.empty() && !mProgramSettings[0].empty()) mDefaultSettings = mProgramSettings[0];
}

std::string PluginCore::BankText() const {
  std::string text = BankText::HeaderLine(mMetaClass->GetVendor(), mMetaClass->GetProductName()) + "\n";
  for (size_t i = 0; i < mProgramNames.size(); ++i) {
    text += BankText::ProgramLine(static_cast<int>(i), mProgramNames[i]) + "\n";
    text += UpToZero(mProgramSettings[i]);
    text += std::string(BankText::kProgramClose) + "\n";
  }
  return text;
}

std::string& PluginCore::RefreshedProgramText(std::string& scratch) {
  const bool stored = mMetaClass->StoresProgramSettings() && mCurrentProgram >= 0 &&
                      static_cast<size_t>(mCurrentProgram) < mProgramSettings.size();
  std::string& target = stored ? mProgramSettings[static_cast<size_t>(mCurrentProgram)] : scratch;
  try {
    target = LiveSettingsText();
  } catch (const std::bad_alloc&) {
    throw;
  } catch (...) {
    // The live state could not be written: hand out the last good text rather than nothing.
    if (target.empty()) target = mDefaultSettings;
    ReportError(this, "Unable to save settings.", "An unknown error occurred.", 0, kErrorError);
  }
  return target;
}

std::int32_t PluginCore::GetChunk(void** data, bool isPreset) {
  if (!data) return 0;
  *data = nullptr;
  mChunk.clear();
  std::string scratch;
  const std::string& target = RefreshedProgramText(scratch);
  const std::string text = isPreset ? target : BankText();
  mChunk.assign(text.begin(), text.end());
  mChunk.resize(text.size() + kChunkTailZeros, '\0');
  *data = mChunk.data();
  return static_cast<std::int32_t>(mChunk.size());
}

bool PluginCore::SetChunk(const void* data, std::int32_t size, bool isPreset) {
  if (!data || size <= 0) return false;
  const std::string_view bytes(static_cast<const char*>(data), static_cast<size_t>(size));
  const auto refuse = [&](const char* detail) {
    if (!mChunkFailureReported) ReportError(this, kUnableToLoad, detail, 0, kErrorError);
    mChunkFailureReported = true;
    return false;
  };
  if (UpToZero(bytes.substr(0, kMakerWindow)).find(mMetaClass->GetVendor()) == std::string_view::npos) {
    return refuse(kNotValid);
  }
  if (bytes.find('\r') != std::string_view::npos) {
    return refuse(
        "These are not valid settings or the settings have been corrupted.  (Contains illegal carriage "
        "returns.)");
  }
  try {
    const bool stored = mMetaClass->StoresProgramSettings() && mCurrentProgram >= 0 &&
                        static_cast<size_t>(mCurrentProgram) < mProgramSettings.size();
    if (isPreset) {
      const std::string text(UpToZero(bytes));
      if (!ApplySettingsText(text)) return false;
      if (stored) mProgramSettings[static_cast<size_t>(mCurrentProgram)] = text;
      return true;
    }
    // A bank is read, its other programs checked and its current program applied before
    // anything of it is kept.
    Bank bank = ReadBank(UpToZero(bytes));
    for (size_t i = 0; i < bank.settings.size(); ++i) {
      const std::optional<std::string>& text = bank.settings[i];
      if (i == static_cast<size_t>(mCurrentProgram) || !text || text->empty() || IsReadableArchive(*text))
        continue;
      ReportError(this, kUnableToLoad, kNotValid, 0, kErrorError);
      return false;
    }
    const std::optional<std::string>& current =
        stored ? bank.settings[static_cast<size_t>(mCurrentProgram)] : std::optional<std::string>();
    if (current && !current->empty() && !ApplySettingsText(*current)) return false;
    CommitBank(bank);
    return true;
  } catch (const std::bad_alloc&) {
    if (!mChunkFailureReported) {
      ReportError(this, "There is insufficient memory available. Cannot load the settings.", nullptr, 0,
                  kErrorError);
    }
    mChunkFailureReported = true;
  } catch (...) {
    // Any other failure of a chunk is swallowed: the host only learns that nothing was loaded.
  }
  return false;
}

void PluginCore::SetProgram(std::int32_t program) {
  if (program < 0 || static_cast<size_t>(program) >= mProgramNames.size() || program == mCurrentProgram)
    return;
  const std::int32_t old = mCurrentProgram;
  mCurrentProgram = program;
  try {
    if (mMetaClass->StoresProgramSettings()) mProgramSettings[static_cast<size_t>(old)] = LiveSettingsText();
    std::string& text = mProgramSettings[static_cast<size_t>(program)];
    if (text.empty()) text = mDefaultSettings;
    if (!text.empty()) ApplySettingsText(text);
  } catch (const std::bad_alloc&) {
    ReportError(this, kInsufficientMemory, nullptr, 0, kErrorError);
  } catch (...) {
    // Any other failure of a program change is swallowed; the new program stays current.
  }
}
