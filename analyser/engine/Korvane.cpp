#include "analyser/engine/Korvane.h"

#include <cstring>
#include <sstream>

#include "analyser/engine/KorvaneEditorSide.h"
#include "analyser/engine/KorvaneMetaClass.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/engine/services/AnalysisPass.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/archive/XMLArchive.h"
#include "framework/core/BypassStates.h"
#include "framework/core/SettingsMetaData.h"

namespace {

// Settings of another maker are never applied.
bool IsOurs(const ZEBPluginSettingsMetaData& metaData) {
  return std::strcmp(metaData.GetManufacturer(), "Quillmore") == 0;
}

}  // namespace

Korvane::Korvane(PluginPlatform* platform, IOConfig ioConfig) : PluginCore(platform, ioConfig) {
  mAlarmManager = std::make_unique<KVNAlarmManager>(this);
  mServiceList = std::make_unique<KorvaneServiceList>();
  mServiceList->RegisterWith(*this);
  mServiceList->SetServices(this);
  for (KorvaneServiceBase* service : mServiceList->GetServices()) {
    if (service->WantsAudio()) mAudioServices.push_back(service);
  }
  Publish(kEditorMessageClass);
  PrepareServices();
  mEditorSide = CreateKorvaneEditorSide(*this);
}

Korvane::~Korvane() {
  // Nothing may reach the services once they are going.
  mAudioServices.clear();
  mAlarmManager.reset();
  mServiceList.reset();
  mEditorSide.reset();
}

void Korvane::Open() { LoadDefaultSettings(KorvaneProduct::kDisplayName); }

void Korvane::Suspend() {
  auto pause = GetAudioGate().PauseOrThrow();
  mServiceList->Reset();
}

float Korvane::GetParameter(const ParameterDescriptor& descriptor) const {
  return GetStoredParameterValue(descriptor);
}

Frame* Korvane::CreateEditorFrame(PluginUIRootInterface* root) {
  return mEditorSide ? mEditorSide->CreateEditorFrame(root) : nullptr;
}

Frame* Korvane::CreateAboutFrame(PluginUIRootInterface* root) {
  return mEditorSide ? mEditorSide->CreateAboutFrame(root) : nullptr;
}

void Korvane::GetEditorSize(std::int32_t& width, std::int32_t& height) const {
  width = 0;
  height = 0;
  if (mEditorSide) mEditorSide->GetEditorSize(IsMono(), width, height);
}

void Korvane::OnParameterChange(const ParameterDescriptor& descriptor, float value) {
  if (descriptor.mId == KorvaneProduct::kResetParameterId && value != 0.0f) {
    mAlarmManager->ClearAlarm(MeasurementIds::kMasterAlarm);
  }
}

void Korvane::PrepareServices() {
  // A mono block longer than the zero buffer is measured in pieces, so an absurd block size
  // never becomes an absurd allocation.
  constexpr std::int32_t kMaxZeroFrames = 1 << 16;
  const std::int32_t blockSize = std::max(1, GetBlockSize());
  mZeroBuffer.assign(static_cast<size_t>(std::min(blockSize, kMaxZeroFrames)), 0.0f);
  mServiceList->Setup(GetSampleRate(), blockSize, 2);
}

void Korvane::ProcessBlock(float** inputs, float** outputs, std::int32_t frames, std::int32_t state) {
  CopyInputsToOutputs(inputs, outputs, frames);
  if (state == kStateBypassed) return;
  const std::int32_t channels = GetIOConfig().first;
  if (channels != 1 && channels != 2) return;
  // Every service's measurements in one pass over the block.
  AnalysisParts parts;
  for (KorvaneServiceBase* service : mAudioServices) service->ClaimParts(parts);
  for (std::int32_t offset = 0; offset < frames;) {
    const std::int32_t n =
        channels == 2
            ? frames
            : std::min<std::int32_t>(frames - offset, static_cast<std::int32_t>(mZeroBuffer.size()));
    const AnalysisView view{inputs[0] + offset, channels == 2 ? inputs[1] + offset : mZeroBuffer.data()};
    RunAnalysisPass(view, n, parts);
    offset += n;
  }
}

void Korvane::SaveProductState(Serialization::Archive& archive) {
  SaveSatellites(archive);
  mAlarmManager->SaveAsObject(archive, "KVNAlarmManager");
}

void Korvane::LoadProductState(Serialization::Archive& archive, const ZEBPluginSettingsMetaData& metaData) {
  if (!IsOurs(metaData)) throw 0;
  LoadSatellites(archive);
  mAlarmManager->LoadAsObject(archive, "KVNAlarmManager");
}

ImportedSettings::ImportedSettings() = default;
ImportedSettings::~ImportedSettings() = default;

std::unique_ptr<ImportedSettings> Korvane::ImportSettingsFile(const std::optional<std::string>& text) {
  if (!text || text->empty()) return nullptr;
  auto imported = std::make_unique<ImportedSettings>();
  imported->text = *text;
  imported->archive =
      std::make_unique<Serialization::XMLArchive>(imported->text.data(), imported->text.size());
  imported->archive->BeginLoad();
  ZEBPluginSettingsMetaData metaData;
  metaData.LoadAsObject(*imported->archive, ZEBPluginSettingsMetaData::kObjectName);
  if (IsOurs(metaData)) return imported;

  // Another maker's settings: an empty archive in their place, so that applying it loads nothing.
  std::ostringstream empty;
  {
    Serialization::XMLArchive writer(empty, SettingsArchiveType(), true);
    writer.BeginSave();
    writer.EndSave();
  }
  auto nothing = std::make_unique<ImportedSettings>();
  nothing->text = empty.str();
  nothing->archive = std::make_unique<Serialization::XMLArchive>(nothing->text.data(), nothing->text.size());
  return nothing;
}
