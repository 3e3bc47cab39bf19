#include "tests/vsthost/VstHost.h"

#include <dlfcn.h>

#include <cstring>
#include <stdexcept>

namespace vsthost {

namespace {

// The callback has no user data: the host of an effect is found by its record, and during the
// entry point (effect still null) by the one instantiating.
std::mutex gRegistryMutex;
std::map<AEffect*, Host*> gHosts;
thread_local Host* tInstantiating = nullptr;

Host* HostFor(AEffect* effect) {
  std::lock_guard<std::mutex> lock(gRegistryMutex);
  const auto found = gHosts.find(effect);
  if (found != gHosts.end()) return found->second;
  return tInstantiating;
}

constexpr unsigned char kGuard = 0xA5;
constexpr size_t kGuardBytes = 16;

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) {
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
  mEntry = reinterpret_cast<VstPluginMainProc>(dlsym(mHandle, "VSTPluginMain"));
  if (!mEntry) mEntry = reinterpret_cast<VstPluginMainProc>(dlsym(mHandle, "main"));
}

PluginLibrary::~PluginLibrary() {
  if (mHandle) dlclose(mHandle);
}

void* PluginLibrary::Symbol(const char* name) const { return dlsym(mHandle, name); }

Host::Host(PluginLibrary& library) : mLibrary(library) { mAnswers[audioMasterVersion] = 2400; }

Host::~Host() {
  if (mEffect) Close();
}

AEffect* Host::Instantiate() {
  if (!mLibrary.Entry()) return nullptr;
  tInstantiating = this;
  mEffect = mLibrary.Entry()(&Host::Callback);
  tInstantiating = nullptr;
  if (mEffect) {
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    gHosts[mEffect] = this;
  }
  return mEffect;
}

std::intptr_t Host::Dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                             float opt) {
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::intptr_t Host::Close() {
  AEffect* effect = mEffect;
  const std::intptr_t result = Dispatch(effClose);
  std::lock_guard<std::mutex> lock(gRegistryMutex);
  gHosts.erase(effect);
  mEffect = nullptr;
  return result;
}

void Host::ProcessReplacing(float** inputs, float** outputs, std::int32_t frames) {
  mEffect->processReplacing(mEffect, inputs, outputs, frames);
}

void Host::Process(float** inputs, float** outputs, std::int32_t frames) {
  mEffect->process(mEffect, inputs, outputs, frames);
}

void Host::SetParameter(std::int32_t index, float value) { mEffect->setParameter(mEffect, index, value); }

float Host::GetParameter(std::int32_t index) { return mEffect->getParameter(mEffect, index); }

std::string Host::DispatchString(std::int32_t opcode, std::int32_t index, size_t size, bool* overrun,
                                 std::intptr_t* result) {
  std::vector<unsigned char> buffer(size + 2 * kGuardBytes, kGuard);
  char* text = reinterpret_cast<char*>(buffer.data() + kGuardBytes);
  const std::intptr_t answer = Dispatch(opcode, index, 0, text);
  if (result) *result = answer;
  bool bad = std::memchr(text, 0, size) == nullptr;
  for (size_t i = 0; i < kGuardBytes; ++i) {
    bad = bad || buffer[i] != kGuard || buffer[kGuardBytes + size + i] != kGuard;
  }
  if (overrun) *overrun = bad;
  return std::string(text, strnlen(text, size));
}

std::vector<HostCall> Host::Calls() const {
  std::lock_guard<std::mutex> lock(mCallsMutex);
  return mCalls;
}

void Host::ClearCalls() {
  std::lock_guard<std::mutex> lock(mCallsMutex);
  mCalls.clear();
}

std::intptr_t Host::Callback(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                             void* ptr, float opt) {
  Host* host = HostFor(effect);
  return host ? host->Handle(effect, opcode, index, value, ptr, opt) : 0;
}

std::intptr_t Host::Handle(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                           void* ptr, float opt) {
  const HostCall call{opcode, index, value, opt, effect != nullptr};
  {
    std::lock_guard<std::mutex> lock(mCallsMutex);
    mCalls.push_back(call);
  }
  std::intptr_t answer = 0;
  if (onCall && onCall(call, answer)) return answer;
  if ((opcode == audioMasterGetProductString || opcode == audioMasterGetVendorString) && ptr) {
    std::strncpy(static_cast<char*>(ptr), mProduct.c_str(), kVstMaxProductStrLen - 1);
    static_cast<char*>(ptr)[kVstMaxProductStrLen - 1] = '\0';
    return 1;
  }
  const auto found = mAnswers.find(opcode);
  return found == mAnswers.end() ? 0 : found->second;
}

}  // namespace vsthost
