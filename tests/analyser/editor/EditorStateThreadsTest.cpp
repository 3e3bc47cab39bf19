// The analyser's editor changing the plug-in's state in a real X window (settings files loaded
// through its dialog, thresholds typed into its edit field, the editor opened and closed) while
// other host threads restore and save chunks, idle the editor and run audio. Runs under ASan and
// TSan: the editor may change the state only while it holds the instance mutex.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

namespace {

// In editor coordinates: the header's load button, and the text of the balance alarm's threshold.
constexpr std::int16_t kLoadX = 399 - 36 + 7, kLoadY = 5 + 7;
constexpr std::int16_t kBalanceThresholdX = 133 + 18, kBalanceThresholdY = 24 + 61 + 5;

// Where the balance alarm's threshold stands in a settings text.
size_t BalanceThresholdAt(const std::string& text) {
  const size_t alarm = text.find(">phase_and_balance.balance.level<");
  const size_t th = text.find("name=\"th\"", alarm);
  return alarm == std::string::npos || th == std::string::npos ? std::string::npos : text.find('>', th) + 1;
}
float BalanceThreshold(const std::string& text) {
  const size_t at = BalanceThresholdAt(text);
  return at == std::string::npos ? -1.0f : std::strtof(text.c_str() + at, nullptr);
}
std::string WithBalanceThreshold(std::string text, const std::string& value) {
  const size_t at = BalanceThresholdAt(text);
  return at == std::string::npos ? text : text.replace(at, text.find('<', at) - at, value);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class EditorStateThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server.Display().empty());
    setenv("DISPLAY", server.Display().c_str(), 1);
    display = std::make_unique<Display>(server.Display());
    parent = display->Parent(24, 0, 0, 399, 470);
    // A stand-in zenity that counts its runs and answers with the file the test names.
    dir = config.root.string();
    std::ofstream(dir + "/zenity") << "#!/bin/sh\necho run >> \"$FAKE_DIR/runs\"\n"
                                      "printf '%s\\n' \"$FAKE_DIR/mix.korvane\"\n";
    chmod((dir + "/zenity").c_str(), 0755);
    savedPath = std::getenv("PATH");
    setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    setenv("FAKE_DIR", dir.c_str(), 1);
    ASSERT_NE(host.Instantiate(), nullptr);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 256);
    host.Dispatch(effMainsChanged, 0, 1);
  }
  void TearDown() override {
    stop.store(true);
    for (std::thread& thread : threads) thread.join();
    host.Dispatch(effEditClose);
    setenv("PATH", savedPath.c_str(), 1);
  }

  void Open() {
    ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    for (int i = 0; i < 20; ++i) Idle();
  }
  void Idle() {
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  int Runs() {
    const std::string runs = ReadAll(dir + "/runs");
    return static_cast<int>(std::count(runs.begin(), runs.end(), '\n'));
  }
  // Another host thread restores the bank and saves the program while the test goes on.
  void RestoreAndSaveChunksMeanwhile() {
    const std::string bank = vsthost::GetChunk(host, false);
    threads.emplace_back([this, bank] {
      while (!stop.load()) {
        vsthost::SetChunk(host, bank, false);
        vsthost::GetChunk(host, true);
      }
    });
  }
  void StopOtherThreads() {
    stop.store(true);
    for (std::thread& thread : threads) thread.join();
    threads.clear();
  }

  TemporaryConfig config;
  XvfbServer server;
  std::unique_ptr<Display> display;
  xcb_window_t parent = 0;
  vsthost::PluginLibrary library{VARNIS_PATH};
  vsthost::Host host{library};
  std::string dir;
  std::string savedPath;
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
};

TEST_F(EditorStateThreads, SettingsFilesLoadFortyTimesWhileAnotherThreadRestoresAndSavesChunks) {
  Open();  // the alarms are registered with the editor
  const std::string original = vsthost::GetChunk(host, true);
  ASSERT_NE(BalanceThreshold(original), 4.5f);
  std::ofstream(dir + "/mix.korvane", std::ios::binary)
      << WithBalanceThreshold(original.substr(0, original.find('\0')), "4.5");
  RestoreAndSaveChunksMeanwhile();
  // One dialog at a time: a click while the last answer is still pending is ignored, so the
  // button is clicked again until the stand-in has run forty times.
  for (int attempt = 0; attempt < 4000 && Runs() < 40; ++attempt) {
    const int before = Runs();
    display->Click(kLoadX, kLoadY);
    for (int i = 0; i < 100 && Runs() == before; ++i) Idle();
  }
  for (int i = 0; i < 20; ++i) Idle();
  EXPECT_EQ(Runs(), 40);
  StopOtherThreads();
  // The answer of a quiet load is what the state holds afterwards.
  display->Click(kLoadX, kLoadY);
  for (int i = 0; i < 200 && Runs() < 41; ++i) Idle();
  for (int i = 0; i < 20; ++i) Idle();
  EXPECT_EQ(BalanceThreshold(vsthost::GetChunk(host, true)), 4.5f);
}

TEST_F(EditorStateThreads, TypedThresholdsCommitWhileAnotherThreadRestoresAndSavesChunks) {
  Open();
  RestoreAndSaveChunksMeanwhile();
  display->SetFocus(parent);
  for (int edit = 0; edit < 10; ++edit) {
    // A double click opens the edit field, which takes the focus; Return commits.
    display->Click(kBalanceThresholdX, kBalanceThresholdY);
    display->Click(kBalanceThresholdX, kBalanceThresholdY);
    for (int i = 0; i < 200 && display->Focus() == parent; ++i) Idle();
    ASSERT_NE(display->Focus(), parent);
    display->Key('1' + edit % 9);
    display->Key(0xFF0D);
    for (int i = 0; i < 200 && display->Focus() != parent; ++i) Idle();
    ASSERT_EQ(display->Focus(), parent);
  }
  StopOtherThreads();
  display->Click(kBalanceThresholdX, kBalanceThresholdY);
  display->Click(kBalanceThresholdX, kBalanceThresholdY);
  for (int i = 0; i < 200 && display->Focus() == parent; ++i) Idle();
  display->Key('7');
  display->Key(0xFF0D);
  for (int i = 0; i < 200 && display->Focus() != parent; ++i) Idle();
  EXPECT_EQ(BalanceThreshold(vsthost::GetChunk(host, true)), 7.0f);
}

TEST_F(EditorStateThreads, OpensIdlesAndClosesTwoHundredTimesWhileAnotherThreadIdlesAndAudioRuns) {
  threads.emplace_back([this] {
    std::vector<float> left(256, 0.25f), right(256, -0.25f), outLeft(256), outRight(256);
    while (!stop.load()) {
      float* inputs[] = {left.data(), right.data()};
      float* outputs[] = {outLeft.data(), outRight.data()};
      host.ProcessReplacing(inputs, outputs, 256);
    }
  });
  std::atomic<int> otherIdles{0};
  threads.emplace_back([&] {
    while (!stop.load()) {
      host.Dispatch(effEditIdle);
      otherIdles.fetch_add(1);
    }
  });
  int opened = 0;
  for (int i = 0; i < 200; ++i) {
    opened += host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})) == 1;
    for (int idle = 0; idle < 3; ++idle) host.Dispatch(effEditIdle);
    host.Dispatch(effEditClose);
  }
  StopOtherThreads();
  EXPECT_EQ(opened, 200);
  EXPECT_GT(otherIdles.load(), 0);
}

}  // namespace
