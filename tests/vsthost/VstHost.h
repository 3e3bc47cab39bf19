#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "vst2/Vst2Interface.h"

namespace vsthost {

// One call the plug-in made to its host.
struct HostCall {
  int32_t opcode = 0;
  int32_t index = 0;
  intptr_t value = 0;
  float opt = 0.0f;
  bool hadEffect = false;
};

// A plug-in library loaded with dlopen; unloaded when destroyed.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  VstPluginMainProc Entry() const { return mEntry; }
  // Another exported function of the library (test plug-ins offer a few), or null.
  void* Symbol(const char* name) const;

 private:
  void* mHandle = nullptr;
  VstPluginMainProc mEntry = nullptr;
};

// A scriptable host: answers each opcode as told (0 by default, 2400 for audioMasterVersion),
// records every call, and wraps the effect record's entries.
class Host {
 public:
  explicit Host(PluginLibrary& library);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  void Answer(int32_t opcode, intptr_t value) { mAnswers[opcode] = value; }
  void SetProductString(std::string product) { mProduct = std::move(product); }
  // Called for every host call before the scripted answer; a returned value replaces it.
  std::function<bool(const HostCall&, intptr_t&)> onCall;

  // Calls the entry point; the effect (or null) is kept and returned.
  AEffect* Instantiate();
  AEffect* Effect() const { return mEffect; }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  // effClose; the effect is gone afterwards.
  intptr_t Close();
  void ProcessReplacing(float** inputs, float** outputs, int32_t frames);
  void Process(float** inputs, float** outputs, int32_t frames);
  void SetParameter(int32_t index, float value);
  float GetParameter(int32_t index);

  // A string opcode answered into a buffer of `size` bytes fenced by guard bytes; `overrun` is
  // set when the plug-in wrote past the buffer or left it unterminated.
  std::string DispatchString(int32_t opcode, int32_t index, size_t size, bool* overrun,
                             intptr_t* result = nullptr);

  std::vector<HostCall> Calls() const;
  void ClearCalls();

 private:
  static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                           float opt);
  intptr_t Handle(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  PluginLibrary& mLibrary;
  AEffect* mEffect = nullptr;
  std::map<int32_t, intptr_t> mAnswers;
  std::string mProduct = "vsthost";
  mutable std::mutex mCallsMutex;
  std::vector<HostCall> mCalls;
};

}  // namespace vsthost
