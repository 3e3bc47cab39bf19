// The analyser's editor as a host sees it before any window exists: through dlopen and the VST 2
// C interface only.
#include <gtest/gtest.h>

#include "tests/vsthost/VstHost.h"

namespace {

TEST(AnalyserEditor, DeclaredAndSized399By470) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  AEffect* effect = host.Instantiate();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->flags, 0x39) << "has editor, can mono, can replace, program chunks";
  for (int round = 0; round < 2; ++round) {
    ERect* rect = nullptr;
    ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->right - rect->left, 399);
    EXPECT_EQ(rect->bottom - rect->top, 470);
    host.Dispatch(effMainsChanged, 0, 1);
  }
}

}  // namespace
