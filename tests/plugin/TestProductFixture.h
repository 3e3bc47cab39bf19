#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/vsthost/VstHost.h"

// The test product plug-in loaded through dlopen, with its exported test hooks.
class TestProductFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    library = std::make_unique<vsthost::PluginLibrary>(TESTPRODUCT_PATH);
    journal = Hook<const char* (*)()>("TestProductJournal");
    setFailure = Hook<void (*)(int)>("TestProductSetFailure");
    setEditorOpen = Hook<void (*)(bool)>("TestProductSetEditorOpen");
    idle = Hook<void (*)(AEffect*)>("TestProductIdle");
    setFailure(0);
    setEditorOpen(false);
    journal();
  }

  template <class Function>
  Function Hook(const char* name) {
    auto function = reinterpret_cast<Function>(library->Symbol(name));
    if (!function) ADD_FAILURE() << "missing test hook " << name;
    return function;
  }

  // A host with one instance already made.
  std::unique_ptr<vsthost::Host> Instance() {
    auto host = std::make_unique<vsthost::Host>(*library);
    EXPECT_NE(host->Instantiate(), nullptr);
    journal();
    return host;
  }

  std::unique_ptr<vsthost::PluginLibrary> library;
  const char* (*journal)() = nullptr;
  void (*setFailure)(int) = nullptr;
  void (*setEditorOpen)(bool) = nullptr;
  void (*idle)(AEffect*) = nullptr;
};
