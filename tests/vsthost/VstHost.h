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
  std::int32_t opcode = 0;
  std::int32_t index = 0;
  std::intptr_t value = 0;
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

  void Answer(std::int32_t opcode, std::intptr_t value) { mAnswers[opcode] = value; }
  void SetProductString(std::string product) { mProduct = std::move(product); }
  // Called for every host call before the scripted answer; a returned value replaces it.
  std::function<bool(const HostCall&, std::intptr_t&)> onCall;

  // Calls the entry point; the effect (or null) is kept and returned.
  AEffect* Instantiate();
  AEffect* Effect() const { return mEffect; }

  std::intptr_t Dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                         void* ptr = nullptr, float opt = 0.0f);
  // effClose; the effect is gone afterwards.
  std::intptr_t Close();
  void ProcessReplacing(float** inputs, float** outputs, std::int32_t frames);
  void Process(float** inputs, float** outputs, std::int32_t frames);
  void SetParameter(std::int32_t index, float value);
  float GetParameter(std::int32_t index);

  // A string opcode answered into a buffer of `size` bytes fenced by guard bytes; `overrun` is
  // set when the plug-in wrote past the buffer or left it unterminated.
  std::string DispatchString(std::int32_t opcode, std::int32_t index, size_t size, bool* overrun,
                             std::intptr_t* result = nullptr);

  std::vector<HostCall> Calls() const;
  void ClearCalls();

 private:
  static std::intptr_t Callback(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                void* ptr, float opt);
  std::intptr_t Handle(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                       void* ptr, float opt);

  PluginLibrary& mLibrary;
  AEffect* mEffect = nullptr;
  std::map<std::int32_t, std::intptr_t> mAnswers;
  std::string mProduct = "vsthost";
  mutable std::mutex mCallsMutex;
  std::vector<HostCall> mCalls;
};

}  // namespace vsthost
