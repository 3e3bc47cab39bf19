// Plug-ins that nobody here wrote, from Debian's packages, driven through the host side.
#include "host/vst/TvMultimeterPlugin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tolvaran;

namespace {

TEST(ThirdPartyPlugins, LoadSetUpAndProcessASignal) {
  struct Case {
    const char* path;
    bool accepted;
  };
  const Case cases[] = {
      {"/usr/lib/vst/3BandEQ-vst.so", true},
      {"/usr/lib/vst/PingPongPan-vst.so", true},
      {"/usr/lib/vst/MVerb-vst.so", true},
      {"/usr/lib/vst/lsp-plugins/compressor-stereo.so", true},
      {"/usr/lib/vst/lsp-plugins/limiter-stereo.so", true},
      {"/usr/lib/vst/Kars-vst.so", false},  // a synthesiser: refused
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TvMultimeterPlugin plugin{QString::fromLatin1(c.path)};
    ASSERT_EQ(plugin.load_plugin(c.path), c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(plugin.effect(), nullptr);
      continue;
    }
    plugin.serve_host_callbacks();
    plugin.set_sample_rate(48000.0);
    plugin.set_block_size(512);
    ASSERT_TRUE(plugin.alloc_channel_buffers(960));
    ASSERT_GE(plugin.input_count(), 2);
    ASSERT_GE(plugin.output_count(), 2);
    plugin.suspend();
    plugin.resume();

    double energy = 0.0;
    bool finite = true;
    for (int block = 0; block < 40; ++block) {
      for (int i = 0; i < 480; ++i) {
        const float s = 0.3f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * (block * 480 + i) / 48000.0));
        plugin.left_input()[i] = s;
        plugin.right_input()[i] = s;
      }
      plugin.process_block(480);
      for (int i = 0; i < 480; ++i) {
        for (float v : {plugin.left_output()[i], plugin.right_output()[i]}) {
          finite = finite && std::isfinite(v);
          energy += static_cast<double>(v) * v;
        }
      }
    }
    EXPECT_TRUE(finite);
    EXPECT_GT(energy, 1.0) << "output arrives";
    plugin.suspend();
  }
}

}  // namespace
