// A drag in the test product's editor, in a real X window, while another host thread waits for
// the instance mutex that the drag holds. The drag keeps it while it lasts; a window that dies
// under it or a close from another thread ends it at the next idle, with a release where the
// pointer was last. Runs under ASan and TSan.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/plugin/TestProductFixture.h"
#include "tests/vsthost/Chunks.h"

namespace {

class EditorDragThreads : public TestProductFixture {
 protected:
  void SetUp() override {
    TestProductFixture::SetUp();
    host = Instance();
  }
  void TearDown() override {
    if (waiter.joinable()) {
      // The waiter gets its way in the end: the drag's own thread closes the editor.
      host->Dispatch(effEditClose);
      waiter.join();
    }
    host.reset();
  }

  // Opens the editor in parent on display's server and presses on its capturing frame (the one
  // at 10,10 in the editor), then moves the pointer to 40,35 in the window.
  void StartDrag(Display& display, xcb_window_t parent) {
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    display.MoveTo(20, 20);
    display.Button(true);
    ASSERT_TRUE(IdleUntilJournal("drag down 10,10"));
    display.MoveTo(40, 35);
    for (int i = 0; i < 10; ++i) Idle();
  }
  void Idle() {
    host->Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  bool IdleUntilJournal(const std::string& line) {
    for (int i = 0; i < 400; ++i) {
      Idle();
      seen += journal();
      if (seen.find(line) != std::string::npos) return true;
    }
    return false;
  }
  // Another host thread makes the call now and notes when it returns.
  void CallMeanwhile(std::function<void()> call) {
    waiter = std::thread([this, call] {
      call();
      returned.store(true);
    });
  }
  // Idles while the waiter waits, giving it up to 100 ms after each idle: how many idles it took
  // the waiter's call to return, or 0 when 50 were not enough.
  int IdlesUntilTheWaiterReturns() {
    for (int idles = 1; idles <= 50; ++idles) {
      host->Dispatch(effEditIdle);
      for (int ms = 0; ms < 100 && !returned.load(); ++ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (returned.load()) return idles;
    }
    return 0;
  }
  // A drag keeps the mutex while it lasts: the waiter still waits after several idles.
  void ExpectTheWaiterToWait() {
    for (int i = 0; i < 5; ++i) {
      host->Dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(returned.load());
  }

  void ExpectTheDragToEndAtTheLastPositionWithinThreeIdles() {
    const int idles = IdlesUntilTheWaiterReturns();
    EXPECT_TRUE(idles >= 1 && idles <= 3) << idles;
    seen += journal();
    EXPECT_NE(seen.find("drag up 30,25"), std::string::npos) << seen;
  }

  // A chunk thread waits on a drag until the drag's window comes to an end.
  void ExpectTheWindowsEndToEndTheDrag(void (*end)(XvfbServer&, Display&, xcb_window_t)) {
    XvfbServer server;
    ASSERT_FALSE(server.Display().empty());
    setenv("DISPLAY", server.Display().c_str(), 1);
    Display display(server.Display());
    const xcb_window_t parent = display.Parent(24, 0, 0, 220, 120);
    StartDrag(display, parent);
    CallMeanwhile([this] { vsthost::GetChunk(*host, false); });
    ExpectTheWaiterToWait();
    end(server, display, parent);
    ExpectTheDragToEndAtTheLastPositionWithinThreeIdles();
    EXPECT_EQ(host->Dispatch(effEditClose), 0);
  }

  std::unique_ptr<vsthost::Host> host;
  std::string seen;
  std::thread waiter;
  std::atomic<bool> returned{false};
};

TEST_F(EditorDragThreads, AParentDestroyedDuringADragGivesTheMutexBackAtTheNextIdle) {
  ExpectTheWindowsEndToEndTheDrag(
      [](XvfbServer&, Display& display, xcb_window_t parent) { display.Destroy(parent); });
}

TEST_F(EditorDragThreads, AServerKilledDuringADragGivesTheMutexBackAtTheNextIdle) {
  ExpectTheWindowsEndToEndTheDrag([](XvfbServer& server, Display&, xcb_window_t) { server.Kill(); });
}

TEST_F(EditorDragThreads, ACloseFromAnotherThreadDuringADragGoesThroughAtTheNextIdle) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display display(server.Display());
  const xcb_window_t parent = display.Parent(24, 0, 0, 220, 120);
  StartDrag(display, parent);
  CallMeanwhile([this] { host->Dispatch(effEditClose); });
  ExpectTheDragToEndAtTheLastPositionWithinThreeIdles();
  // The close went all the way: the editor opens again, and the user's late release reaches
  // nothing.
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  display.Button(false);
  for (int i = 0; i < 10; ++i) Idle();
  seen += journal();
  EXPECT_EQ(seen.find("drag up", seen.find("drag up") + 1), std::string::npos) << seen;
  host->Dispatch(effEditClose);
}

}  // namespace
