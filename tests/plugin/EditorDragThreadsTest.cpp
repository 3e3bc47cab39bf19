// A drag in the test product's editor, in a real X window, while another host thread waits for
// the instance mutex that the drag holds. The drag keeps it while it lasts, whichever thread
// idles; a window that dies under it ends it at the next idle and a close from any thread at
// once, with a release where the pointer was last. The drag does not depend on the thread that
// pressed: another thread's idles carry it on and read its release. Runs under ASan and TSan.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/plugin/TestProductFixture.h"
#include "tests/vsthost/Chunks.h"

namespace {

class EditorDragThreads : public TestProductFixture {
 protected:
  // The editor's parent on a server of the test's own.
  void SetUp() override {
    TestProductFixture::SetUp();
    server = std::make_unique<XvfbServer>();
    ASSERT_FALSE(server->Display().empty());
    setenv("DISPLAY", server->Display().c_str(), 1);
    display = std::make_unique<Display>(server->Display());
    parent = display->Parent(24, 0, 0, 220, 120);
    host = Instance();
  }
  void TearDown() override {
    if (waiter.joinable()) {
      // The waiter gets its way in the end: a close ends any drag.
      host->Dispatch(effEditClose);
      waiter.join();
    }
    host.reset();
  }

  // Opens the editor in parent and presses on its capturing frame (the one at 10,10 in the
  // editor), then moves the pointer to 40,35 in the window.
  void StartDrag() {
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
    display->MoveTo(20, 20);
    display->Button(true);
    ASSERT_TRUE(IdleUntilJournal("drag down 10,10"));
    display->MoveTo(40, 35);
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
  // Idles while a call on another thread waits, giving it up to 100 ms after each idle: how many
  // idles it took the call to return, or 0 when 50 were not enough.
  int IdlesUntil(const std::atomic<bool>& done) {
    for (int idles = 1; idles <= 50; ++idles) {
      host->Dispatch(effEditIdle);
      for (int ms = 0; ms < 100 && !done.load(); ++ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (done.load()) return idles;
    }
    return 0;
  }
  int IdlesUntilTheWaiterReturns() { return IdlesUntil(returned); }
  // The instance is locked for good: the test fails rather than wait for ever on the threads that
  // wait for it, or on the adapter's close.
  void Abandon() {
    ADD_FAILURE() << "the instance mutex stays locked";
    waiter.detach();
    static_cast<void>(host.release());
    static_cast<void>(library.release());
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
  void ExpectTheWindowsEndToEndTheDrag(const std::function<void()>& end) {
    StartDrag();
    CallMeanwhile([this] { vsthost::GetChunk(*host, false); });
    ExpectTheWaiterToWait();
    end();
    ExpectTheDragToEndAtTheLastPositionWithinThreeIdles();
    EXPECT_EQ(host->Dispatch(effEditClose), 0);
  }

  std::unique_ptr<XvfbServer> server;
  std::unique_ptr<Display> display;
  xcb_window_t parent{0};
  std::unique_ptr<vsthost::Host> host;
  std::string seen;
  std::thread waiter;
  std::atomic<bool> returned{false};
};

TEST_F(EditorDragThreads, AParentDestroyedDuringADragGivesTheMutexBackAtTheNextIdle) {
  ExpectTheWindowsEndToEndTheDrag([this] { display->Destroy(parent); });
}

TEST_F(EditorDragThreads, AServerKilledDuringADragGivesTheMutexBackAtTheNextIdle) {
  ExpectTheWindowsEndToEndTheDrag([this] { server->Kill(); });
}

TEST_F(EditorDragThreads, ACloseFromAnotherThreadDuringADragGoesThroughAtTheNextIdle) {
  StartDrag();
  CallMeanwhile([this] { host->Dispatch(effEditClose); });
  ExpectTheDragToEndAtTheLastPositionWithinThreeIdles();
  // The close went all the way: the editor opens again, and the user's late release reaches
  // nothing.
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  display->Button(false);
  for (int i = 0; i < 10; ++i) Idle();
  seen += journal();
  EXPECT_EQ(seen.find("drag up", seen.find("drag up") + 1), std::string::npos) << seen;
  host->Dispatch(effEditClose);
}

// The thread that pressed ends with the drag on. Another thread's idles carry the drag on (a chunk
// still waits for it), read its release and end it; what waited then gets the mutex, and a
// program change made during the drag is applied at its end.
TEST_F(EditorDragThreads, ADragWhosePressingThreadEndedEndsAtTheReleaseThatAnotherThreadsIdleReads) {
  std::thread([this] { StartDrag(); }).join();
  ASSERT_NE(seen.find("drag down 10,10"), std::string::npos);
  CallMeanwhile([this] { vsthost::GetChunk(*host, false); });
  ExpectTheWaiterToWait();
  host->Dispatch(effSetProgram, 0, 2);
  seen += journal();
  EXPECT_EQ(seen.find("SetProgram"), std::string::npos) << seen;
  display->Button(false);
  const int idles = IdlesUntilTheWaiterReturns();
  if (idles == 0) return Abandon();
  EXPECT_LE(idles, 3);
  seen += journal();
  EXPECT_NE(seen.find("drag up 30,25"), std::string::npos) << seen;
  EXPECT_NE(seen.find("SetProgram 2"), std::string::npos) << seen;
  std::thread([this] { EXPECT_EQ(host->Dispatch(effEditClose), 0); }).join();
}

// The thread that pressed stops idling without a release: a close from a third thread ends the
// drag, while another thread idles, and the chunk that waited for the drag gets the mutex.
TEST_F(EditorDragThreads, ACloseFromAThirdThreadEndsADragWhosePressingThreadStoppedIdling) {
  std::promise<void> pressed, resume;
  std::thread pressing([&] {
    StartDrag();
    pressed.set_value();
    resume.get_future().wait();
    Idle();  // the editor has closed: nothing
  });
  pressed.get_future().wait();
  std::atomic<bool> chunkReturned{false};
  std::thread chunk([&] {
    vsthost::GetChunk(*host, false);
    chunkReturned.store(true);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(chunkReturned.load());
  CallMeanwhile([this] { host->Dispatch(effEditClose); });
  ExpectTheDragToEndAtTheLastPositionWithinThreeIdles();
  EXPECT_NE(IdlesUntil(chunkReturned), 0);
  resume.set_value();
  pressing.join();
  chunk.join();
}

}  // namespace
