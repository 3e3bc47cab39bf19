// Which texts a caught failure is reported with; without a core and a display the report is the
// message box on standard error.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "framework/core/ErrorReporting.h"
#include "tests/support/StderrCapture.h"

namespace {

constexpr FailureTexts kTexts{"No memory.", nullptr, "Failed.", "Why"};

std::string Reported(const std::function<void()>& fail) {
  StderrCapture capture;
  try {
    fail();
  } catch (...) {
    ReportCaughtFailure(nullptr, kTexts);
  }
  return capture.Text();
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(ReportCaughtFailure, ALackOfMemoryTakesItsOwnTextsAndAnyOtherFailureTheOthers) {
  unsetenv("DISPLAY");
  // A null detail stays null: the body has no detail part at all.
  EXPECT_TRUE(EndsWith(Reported([] { throw std::bad_alloc(); }), ": \nNo memory.        \n\n\n"));
  EXPECT_TRUE(EndsWith(Reported([] { throw std::runtime_error("x"); }), ": Failed.\n\nWhy\n\n\n"));
  EXPECT_TRUE(EndsWith(Reported([] { throw 7; }), ": Failed.\n\nWhy\n\n\n"));
  // Outside a handler there is no failure to tell apart: the other texts, and no termination.
  StderrCapture capture;
  ReportCaughtFailure(nullptr, kTexts);
  EXPECT_TRUE(EndsWith(capture.Text(), ": Failed.\n\nWhy\n\n\n"));
}

}  // namespace
