#pragma once

#include <gtest/gtest.h>

#include "tests/vsthost/VstHost.h"

// A plug-in library loaded by a host, its effect at 48 kHz, blocks of 512, resumed.
struct RunningHost {
  explicit RunningHost(const char* path) : library(path), host(library) {
    started = host.Instantiate() != nullptr;
    EXPECT_TRUE(started) << path;
    if (!started) return;
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 512);
    host.Dispatch(effMainsChanged, 0, 1);
  }

  vsthost::PluginLibrary library;
  vsthost::Host host;
  bool started = false;
};
