// Loading plug-ins through the host side, and what each wrapper sends, seen by the recorder.
#include "host/vst/HostCallback.h"
#include "host/vst/TvMultimeterPlugin.h"
#include "tests/host/PaintCounter.h"
#include "tests/host/RecorderLog.h"
#include "tests/host/TestApplication.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <functional>
#include <memory>

using namespace tolvaran;

namespace {

struct Sent {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

void expect_sent(const std::vector<Sent>& expected, const std::string& label) {
  std::vector<RecordedCall> got;
  for (const RecordedCall& call : recorded_calls())
    if (call.kind == kRecorderDispatch) got.push_back(call);
  ASSERT_EQ(got.size(), expected.size()) << label;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].opcode, expected[i].opcode) << label << " call " << i;
    EXPECT_EQ(got[i].index, expected[i].index) << label << " call " << i;
    EXPECT_EQ(got[i].value, expected[i].value) << label << " call " << i;
    EXPECT_EQ(got[i].ptr, expected[i].ptr) << label << " call " << i;
    EXPECT_EQ(got[i].opt, expected[i].opt) << label << " call " << i;
  }
}

std::unique_ptr<TvMultimeterPlugin> load(const std::string& variant) {
  auto plugin = std::make_unique<TvMultimeterPlugin>(QString::fromStdString(variant));
  EXPECT_TRUE(plugin->load_plugin(recorder_path(variant).c_str())) << variant;
  plugin->serve_host_callbacks();
  clear_recorded_calls();
  return plugin;
}

TEST(VstPluginLoad, EntryPointsChecksAndRelease) {
  struct Case {
    const char* name;  // a bare library name: found beside the test program
    bool loads;
    std::vector<int32_t> entry;  // entry points called (0 VSTPluginMain, 1 main)
    std::vector<int32_t> opcodes;
  };
  const Case cases[] = {
      {"recorder", true, {0}, {effOpen, effGetPlugCategory}},
      {"recorder_main_only", true, {1}, {effOpen, effGetPlugCategory}},
      {"recorder_no_entry", false, {}, {}},
      {"recorder_borrowed_main", false, {}, {}},  // "main" found only in a dependency
      {"recorder_null_effect", false, {0}, {}},
      {"recorder_bad_magic", false, {0}, {}},
      {"recorder_throws", false, {0}, {}},
      {"recorder_synth", false, {0}, {effOpen, effGetPlugCategory, effClose}},
      {"recorder_absent", false, {}, {}},
  };
  for (const Case& c : cases) {
    clear_recorded_calls();
    const std::string path = recorder_path(c.name);
    {
      TvMultimeterPlugin plugin{QString::fromLatin1(c.name)};
      EXPECT_EQ(plugin.load_plugin((std::string(c.name) + ".so").c_str()), c.loads) << c.name;
      EXPECT_EQ(plugin.effect() != nullptr, c.loads) << c.name;
      std::vector<int32_t> entry;
      for (const RecordedCall& call : recorded_calls())
        if (call.kind == kRecorderEntry) entry.push_back(call.opcode);
      EXPECT_EQ(entry, c.entry) << c.name;
      EXPECT_EQ(recorded_opcodes(), c.opcodes) << c.name;
      EXPECT_EQ(library_loaded(path), c.loads) << c.name;

      if (!c.loads) {
        // Nothing reaches a plug-in that failed its checks.
        clear_recorded_calls();
        ERect* rect = nullptr;
        plugin.edit_open(nullptr);
        plugin.edit_idle();
        EXPECT_EQ(plugin.edit_get_rect(&rect), 0);
        EXPECT_EQ(plugin.get_parameter(0), 0.0f);
        plugin.set_parameter(0, 1.0f);
        EXPECT_FALSE(plugin.alloc_channel_buffers(64));
        plugin.process_block(64);
        EXPECT_EQ(plugin.load_chunk_file(), 0);
        EXPECT_TRUE(recorded_calls().empty()) << c.name;
      }
    }
    EXPECT_FALSE(library_loaded(path)) << c.name;
  }
}

TEST(VstPluginLoad, DestroyingALoadedPluginClosesItAndReleasesTheLibrary) {
  auto plugin = load("recorder");
  EXPECT_FALSE(plugin->load_plugin(recorder_path("recorder").c_str())) << "a second load";
  plugin.reset();
  EXPECT_EQ(recorded_opcodes(), std::vector<int32_t>{effClose});
  EXPECT_FALSE(library_loaded(recorder_path("recorder")));
}

// The recorder calls audioMasterIdle and audioMasterSizeWindow inside effClose: both reach the
// plug-in object while it is still a VstPluginEx, not a half-destroyed base.
TEST(VstPluginLoad, APluginThatCallsBackWhileClosingFindsItsHostObjectWhole) {
  QApplication& app = test_application();
  PaintCounter window;
  window.resize(40, 30);
  window.show();
  app.processEvents();
  window.paints = 0;

  auto plugin = load("recorder");
  plugin->set_window(&window);
  plugin->edit_open(nullptr);
  clear_recorded_calls();
  AEffect* const effect = plugin->effect();
  bool whole_at_close = false;
  observe_recorded_calls([&](const RecordedCall& call) {
    if (call.kind != kRecorderDispatch || call.opcode != effClose) return;
    HostedVstPlugin* base = &host_object_of(effect);
    whole_at_close = dynamic_cast<VstPluginEx*>(base) != nullptr;
  });
  plugin.reset();
  observe_recorded_calls(nullptr);

  EXPECT_TRUE(whole_at_close);
  EXPECT_EQ(recorded_opcodes(), (std::vector<int32_t>{effClose, effEditIdle}));
  for (int i = 0; i < 20 && window.paints == 0; ++i) app.processEvents(QEventLoop::AllEvents, 10);
  EXPECT_GT(window.paints, 0) << "the repaint asked for while closing";
  EXPECT_FALSE(library_loaded(recorder_path("recorder")));
}

TEST(VstPluginWrappers, EachSendsItsOpcodeAndArgumentsAndAnswers) {
  auto plugin = load("recorder");
  static char text[64] = "text";
  static char other[64] = "other";
  static void* const p = text;
  static void* const q = other;
  auto base = [](int32_t opcode) { return kRecorderAnswerBase + opcode; };
  struct Case {
    const char* name;
    std::function<intptr_t(VstPluginEx&)> call;
    std::vector<Sent> sent;
    intptr_t answer;
  };
  const VstKey key{'a', 7, 2};
  ERect* rect = nullptr;
  void* chunk = nullptr;
  const std::vector<Case> cases = {
      {"open", [](VstPluginEx& v) { return v.open(); }, {{effOpen, 0, 0, nullptr, 0}}, base(effOpen)},
      {"close", [](VstPluginEx& v) { return v.close(); }, {{effClose, 0, 0, nullptr, 0}}, base(effClose)},
      {"set_sample_rate",
       [](VstPluginEx& v) { return v.HostedVstPlugin::set_sample_rate(44100.0f); },
       {{effSetSampleRate, 0, 0, nullptr, 44100.0f}},
       base(effSetSampleRate)},
      {"set_block_size",
       [](VstPluginEx& v) { return v.set_block_size(512); },
       {{effSetBlockSize, 0, 512, nullptr, 0}},
       base(effSetBlockSize)},
      {"set_program",
       [](VstPluginEx& v) { return v.set_program(3); },
       {{effBeginSetProgram, 0, 0, nullptr, 0},
        {effSetProgram, 0, 3, nullptr, 0},
        {effEndSetProgram, 0, 0, nullptr, 0}},
       base(effSetProgram)},
      {"get_program",
       [](VstPluginEx& v) { return v.get_program(); },
       {{effGetProgram, 0, 0, nullptr, 0}},
       base(effGetProgram)},
      {"set_program_name",
       [](VstPluginEx& v) { return v.set_program_name(text); },
       {{effSetProgramName, 0, 0, p, 0}},
       base(effSetProgramName)},
      {"get_program_name",
       [](VstPluginEx& v) { return v.get_program_name(text); },
       {{effGetProgramName, 0, 0, p, 0}},
       base(effGetProgramName)},
      {"get_param_label",
       [](VstPluginEx& v) { return v.get_param_label(2, text); },
       {{effGetParamLabel, 2, 0, p, 0}},
       base(effGetParamLabel)},
      {"get_param_display",
       [](VstPluginEx& v) { return v.get_param_display(2, text); },
       {{effGetParamDisplay, 2, 0, p, 0}},
       base(effGetParamDisplay)},
      {"get_param_name",
       [](VstPluginEx& v) { return v.get_param_name(2, text); },
       {{effGetParamName, 2, 0, p, 0}},
       base(effGetParamName)},
      {"mains_changed",
       [](VstPluginEx& v) { return v.mains_changed(true); },
       {{effMainsChanged, 0, 1, nullptr, 0}},
       base(effMainsChanged)},
      {"suspend",
       [](VstPluginEx& v) { return v.suspend(); },
       {{effMainsChanged, 0, 0, nullptr, 0}},
       base(effMainsChanged)},
      {"resume",
       [](VstPluginEx& v) { return v.resume(); },
       {{effMainsChanged, 0, 1, nullptr, 0}},
       base(effMainsChanged)},
      {"edit_get_rect",
       [&rect](VstPluginEx& v) { return v.edit_get_rect(&rect); },
       {{effEditGetRect, 0, 0, &rect, 0}},
       1},
      {"edit_open",
       [](VstPluginEx& v) { return v.edit_open(p); },
       {{effEditOpen, 0, 0, p, 0}},
       base(effEditOpen)},
      {"edit_open with index and value",
       [](VstPluginEx& v) { return v.edit_open(p, 10, 20); },
       {{effEditOpen, 10, 20, p, 0}},
       base(effEditOpen)},
      {"edit_close",
       [](VstPluginEx& v) { return v.edit_close(); },
       {{effEditClose, 0, 0, nullptr, 0}},
       base(effEditClose)},
      {"identify",
       [](VstPluginEx& v) { return v.identify(); },
       {{effIdentify, 0, 0, nullptr, 0}},
       base(effIdentify)},
      {"get_chunk",
       [&chunk](VstPluginEx& v) { return v.get_chunk(&chunk, true); },
       {{effGetChunk, 1, 0, &chunk, 0}},
       static_cast<intptr_t>(sizeof kRecorderChunk)},
      {"set_chunk",
       [](VstPluginEx& v) { return v.set_chunk(p, 5, true); },
       {{effBeginSetProgram, 0, 0, nullptr, 0},
        {effSetChunk, 1, 5, p, 0},
        {effEndSetProgram, 0, 0, nullptr, 0}},
       base(effSetChunk)},
      {"process_events",
       [](VstPluginEx& v) { return v.process_events(p); },
       {{effProcessEvents, 0, 0, p, 0}},
       base(effProcessEvents)},
      {"can_be_automated",
       [](VstPluginEx& v) { return v.can_be_automated(4); },
       {{effCanBeAutomated, 4, 0, nullptr, 0}},
       base(effCanBeAutomated)},
      {"string_to_parameter",
       [](VstPluginEx& v) { return v.string_to_parameter(4, text); },
       {{effString2Parameter, 4, 0, p, 0}},
       base(effString2Parameter)},
      {"get_num_program_categories",
       [](VstPluginEx& v) { return v.get_num_program_categories(); },
       {{effGetNumProgramCategories, 0, 0, nullptr, 0}},
       base(effGetNumProgramCategories)},
      {"get_program_name_indexed",
       [](VstPluginEx& v) { return v.get_program_name_indexed(-1, 5, text); },
       {{effGetProgramNameIndexed, 5, -1, p, 0}},
       base(effGetProgramNameIndexed)},
      {"copy_program",
       [](VstPluginEx& v) { return v.copy_program(6); },
       {{effCopyProgram, 6, 0, nullptr, 0}},
       base(effCopyProgram)},
      {"connect_input",
       [](VstPluginEx& v) { return v.connect_input(1, true); },
       {{effConnectInput, 1, 1, nullptr, 0}},
       base(effConnectInput)},
      {"connect_output",
       [](VstPluginEx& v) { return v.connect_output(1, false); },
       {{effConnectOutput, 1, 0, nullptr, 0}},
       base(effConnectOutput)},
      {"get_input_properties",
       [](VstPluginEx& v) { return v.get_input_properties(1, p); },
       {{effGetInputProperties, 1, 0, p, 0}},
       base(effGetInputProperties)},
      {"get_output_properties",
       [](VstPluginEx& v) { return v.get_output_properties(1, p); },
       {{effGetOutputProperties, 1, 0, p, 0}},
       base(effGetOutputProperties)},
      {"get_plug_category",
       [](VstPluginEx& v) { return v.get_plug_category(); },
       {{effGetPlugCategory, 0, 0, nullptr, 0}},
       kPlugCategAnalysis},
      {"get_current_position",
       [](VstPluginEx& v) { return v.get_current_position(); },
       {{effGetCurrentPosition, 0, 0, nullptr, 0}},
       base(effGetCurrentPosition)},
      {"get_destination_buffer",
       [](VstPluginEx& v) { return v.get_destination_buffer(); },
       {{effGetDestinationBuffer, 0, 0, nullptr, 0}},
       base(effGetDestinationBuffer)},
      {"offline_notify",
       [](VstPluginEx& v) { return v.offline_notify(p, 2, 1); },
       {{effOfflineNotify, 1, 2, p, 0}},
       base(effOfflineNotify)},
      {"offline_prepare",
       [](VstPluginEx& v) { return v.offline_prepare(p, 2); },
       {{effOfflinePrepare, 0, 2, p, 0}},
       base(effOfflinePrepare)},
      {"offline_run",
       [](VstPluginEx& v) { return v.offline_run(p, 2); },
       {{effOfflineRun, 0, 2, p, 0}},
       base(effOfflineRun)},
      {"process_var_io",
       [](VstPluginEx& v) { return v.process_var_io(p); },
       {{effProcessVarIo, 0, 0, p, 0}},
       base(effProcessVarIo)},
      {"set_speaker_arrangement",
       [](VstPluginEx& v) { return v.set_speaker_arrangement(p, q); },
       {{effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(p), q, 0}},
       base(effSetSpeakerArrangement)},
      {"set_block_size_and_sample_rate",
       [](VstPluginEx& v) { return v.set_block_size_and_sample_rate(256, 96000.0f); },
       {{effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f}},
       base(effSetBlockSizeAndSampleRate)},
      {"set_bypass",
       [](VstPluginEx& v) { return v.set_bypass(true); },
       {{effSetBypass, 0, 1, nullptr, 0}},
       base(effSetBypass)},
      {"get_effect_name",
       [](VstPluginEx& v) { return v.get_effect_name(text); },
       {{effGetEffectName, 0, 0, p, 0}},
       base(effGetEffectName)},
      {"get_error_text",
       [](VstPluginEx& v) { return v.get_error_text(text); },
       {{effGetErrorText, 0, 0, p, 0}},
       base(effGetErrorText)},
      {"get_vendor_string",
       [](VstPluginEx& v) { return v.get_vendor_string(text); },
       {{effGetVendorString, 0, 0, p, 0}},
       base(effGetVendorString)},
      {"get_product_string",
       [](VstPluginEx& v) { return v.get_product_string(text); },
       {{effGetProductString, 0, 0, p, 0}},
       base(effGetProductString)},
      {"get_vendor_version",
       [](VstPluginEx& v) { return v.get_vendor_version(); },
       {{effGetVendorVersion, 0, 0, nullptr, 0}},
       base(effGetVendorVersion)},
      {"vendor_specific",
       [](VstPluginEx& v) { return v.vendor_specific(1, 2, p, 3.5f); },
       {{effVendorSpecific, 1, 2, p, 3.5f}},
       base(effVendorSpecific)},
      {"can_do", [](VstPluginEx& v) { return v.can_do(text); }, {{effCanDo, 0, 0, p, 0}}, base(effCanDo)},
      {"get_tail_size",
       [](VstPluginEx& v) { return v.get_tail_size(); },
       {{effGetTailSize, 0, 0, nullptr, 0}},
       base(effGetTailSize)},
      {"get_icon",
       [](VstPluginEx& v) { return v.get_icon(); },
       {{effGetIcon, 0, 0, nullptr, 0}},
       base(effGetIcon)},
      {"set_view_position",
       [](VstPluginEx& v) { return v.set_view_position(30, 40); },
       {{effSetViewPosition, 30, 40, nullptr, 0}},
       base(effSetViewPosition)},
      {"get_parameter_properties",
       [](VstPluginEx& v) { return v.get_parameter_properties(0, p); },
       {{effGetParameterProperties, 0, 0, p, 0}},
       base(effGetParameterProperties)},
      {"keys_required",
       [](VstPluginEx& v) { return v.keys_required(); },
       {{effKeysRequired, 0, 0, nullptr, 0}},
       base(effKeysRequired)},
      {"get_vst_version",
       [](VstPluginEx& v) { return v.get_vst_version(); },
       {{effGetVstVersion, 0, 0, nullptr, 0}},
       base(effGetVstVersion)},
      {"edit_key_down",
       [&key](VstPluginEx& v) { return v.edit_key_down(key); },
       {{effEditKeyDown, 'a', 7, nullptr, 2}},
       base(effEditKeyDown)},
      {"edit_key_up",
       [&key](VstPluginEx& v) { return v.edit_key_up(key); },
       {{effEditKeyUp, 'a', 7, nullptr, 2}},
       base(effEditKeyUp)},
      {"set_edit_knob_mode",
       [](VstPluginEx& v) { return v.set_edit_knob_mode(2); },
       {{effSetEditKnobMode, 0, 2, nullptr, 0}},
       base(effSetEditKnobMode)},
      {"get_midi_program_name",
       [](VstPluginEx& v) { return v.get_midi_program_name(9, p); },
       {{effGetMidiProgramName, 9, 0, p, 0}},
       base(effGetMidiProgramName)},
      {"get_current_midi_program",
       [](VstPluginEx& v) { return v.get_current_midi_program(9, p); },
       {{effGetCurrentMidiProgram, 9, 0, p, 0}},
       base(effGetCurrentMidiProgram)},
      {"get_midi_program_category",
       [](VstPluginEx& v) { return v.get_midi_program_category(9, p); },
       {{effGetMidiProgramCategory, 9, 0, p, 0}},
       base(effGetMidiProgramCategory)},
      {"has_midi_programs_changed",
       [](VstPluginEx& v) { return v.has_midi_programs_changed(9); },
       {{effHasMidiProgramsChanged, 9, 0, nullptr, 0}},
       base(effHasMidiProgramsChanged)},
      {"get_midi_key_name",
       [](VstPluginEx& v) { return v.get_midi_key_name(9, p); },
       {{effGetMidiKeyName, 9, 0, p, 0}},
       base(effGetMidiKeyName)},
      {"begin_set_program",
       [](VstPluginEx& v) { return v.begin_set_program(); },
       {{effBeginSetProgram, 0, 0, nullptr, 0}},
       1},
      {"end_set_program",
       [](VstPluginEx& v) { return v.end_set_program(); },
       {{effEndSetProgram, 0, 0, nullptr, 0}},
       base(effEndSetProgram)},
      {"get_speaker_arrangement",
       [](VstPluginEx& v) { return v.get_speaker_arrangement(p, q); },
       {{effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(p), q, 0}},
       base(effGetSpeakerArrangement)},
      {"set_total_sample_to_process",
       [](VstPluginEx& v) { return v.set_total_sample_to_process(48000); },
       {{effSetTotalSampleToProcess, 0, 48000, nullptr, 0}},
       base(effSetTotalSampleToProcess)},
      {"shell_get_next_plugin",
       [](VstPluginEx& v) { return v.shell_get_next_plugin(text); },
       {{effShellGetNextPlugin, 0, 0, p, 0}},
       base(effShellGetNextPlugin)},
      {"start_process",
       [](VstPluginEx& v) { return v.start_process(); },
       {{effStartProcess, 0, 0, nullptr, 0}},
       base(effStartProcess)},
      {"stop_process",
       [](VstPluginEx& v) { return v.stop_process(); },
       {{effStopProcess, 0, 0, nullptr, 0}},
       base(effStopProcess)},
      {"set_pan_law",
       [](VstPluginEx& v) { return v.set_pan_law(1, 0.707f); },
       {{effSetPanLaw, 0, 1, nullptr, 0.707f}},
       base(effSetPanLaw)},
      {"begin_load_bank",
       [](VstPluginEx& v) { return v.begin_load_bank(p); },
       {{effBeginLoadBank, 0, 0, p, 0}},
       base(effBeginLoadBank)},
      {"begin_load_program",
       [](VstPluginEx& v) { return v.begin_load_program(p); },
       {{effBeginLoadProgram, 0, 0, p, 0}},
       base(effBeginLoadProgram)},
      {"set_process_precision",
       [](VstPluginEx& v) { return v.set_process_precision(1); },
       {{effSetProcessPrecision, 0, 1, nullptr, 0}},
       base(effSetProcessPrecision)},
      {"get_num_midi_input_channels",
       [](VstPluginEx& v) { return v.get_num_midi_input_channels(); },
       {{effGetNumMidiInputChannels, 0, 0, nullptr, 0}},
       base(effGetNumMidiInputChannels)},
      {"get_num_midi_output_channels",
       [](VstPluginEx& v) { return v.get_num_midi_output_channels(); },
       {{effGetNumMidiOutputChannels, 0, 0, nullptr, 0}},
       base(effGetNumMidiOutputChannels)},
  };
  for (const Case& c : cases) {
    clear_recorded_calls();
    EXPECT_EQ(c.call(*plugin), c.answer) << c.name;
    expect_sent(c.sent, c.name);
  }
  EXPECT_EQ(rect->right, 399);
  EXPECT_STREQ(static_cast<const char*>(chunk), kRecorderChunk);

  clear_recorded_calls();
  EXPECT_FLOAT_EQ(plugin->get_vu(), 16383.0f / 32767.0f);
  plugin->set_parameter(1, 0.5f);
  EXPECT_EQ(plugin->get_parameter(1), kRecorderParameter);
  const std::vector<RecordedCall> calls = recorded_calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].opcode, effGetVu);
  EXPECT_EQ(calls[1].kind, kRecorderSetParameter);
  EXPECT_EQ(calls[1].opcode, 1);
  EXPECT_EQ(calls[1].opt, 0.5f);
  EXPECT_EQ(calls[2].kind, kRecorderGetParameter);
}

TEST(VstPluginWrappers, ANullBufferIsNeverHandedToThePlugin) {
  auto plugin = load("recorder");
  const std::function<intptr_t()> calls[] = {
      [&] { return plugin->edit_get_rect(nullptr); },
      [&] { return plugin->get_chunk(nullptr, false); },
      [&] { return plugin->get_program_name(nullptr); },
      [&] { return plugin->get_param_display(0, nullptr); },
      [&] { return plugin->get_product_string(nullptr); },
      [&] { return plugin->can_do(nullptr); },
      [&] { return plugin->get_program_name_indexed(0, 0, nullptr); },
  };
  for (const auto& call : calls) EXPECT_EQ(call(), 0);
  EXPECT_TRUE(recorded_calls().empty());
}

TEST(VstPluginWrappers, IdleCallsWaitForTheEditorAndTheRequestAndNeverNest) {
  auto plugin = load("recorder");
  EXPECT_EQ(plugin->edit_idle(), 0);
  EXPECT_EQ(plugin->idle(), 0);
  EXPECT_TRUE(recorded_calls().empty()) << "neither idle before the editor opened or idle was asked for";

  plugin->edit_open(nullptr);
  host_callback(plugin->effect(), audioMasterNeedIdle, 0, 0, nullptr, 0.0f);
  clear_recorded_calls();
  plugin->edit_idle();  // the recorder answers it with a nested audioMasterIdle
  plugin->idle();
  EXPECT_EQ(recorded_opcodes(), (std::vector<int32_t>{effEditIdle, effIdle}));

  clear_recorded_calls();
  host_callback(plugin->effect(), audioMasterIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(recorded_opcodes(), std::vector<int32_t>{effEditIdle}) << "audioMasterIdle runs the editor idle";
}

TEST(VstPluginProcess, BlocksArePassedInPiecesThatFitBufferAndDeclaredSize) {
  struct Case {
    int buffer;
    int declared;  // 0: none declared
    int frames;
    std::vector<int> pieces;
  };
  const Case cases[] = {
      {960, 512, 480, {480}}, {960, 512, 960, {512, 448}}, {960, 512, 5000, {512, 448}},
      {960, 0, 960, {960}},   {960, 4096, 960, {960}},     {960, 256, 700, {256, 256, 188}},
      {960, 512, 0, {}},      {960, 512, -3, {}},
  };
  for (const Case& c : cases) {
    auto plugin = load("recorder");
    if (c.declared) plugin->set_block_size(c.declared);
    ASSERT_TRUE(plugin->alloc_channel_buffers(c.buffer));
    for (int i = 0; i < c.buffer; ++i) {
      plugin->left_input()[i] = static_cast<float>(i + 1);
      plugin->right_input()[i] = -static_cast<float>(i + 1);
    }
    clear_recorded_calls();
    plugin->process_block(c.frames);

    const std::vector<RecordedCall> calls = recorded_calls();
    ASSERT_EQ(calls.size(), c.pieces.size()) << c.frames;
    int start = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].kind, kRecorderProcessReplacing);
      EXPECT_EQ(calls[i].frames, c.pieces[i]);
      EXPECT_EQ(calls[i].inputs[0], plugin->left_input() + start);
      EXPECT_EQ(calls[i].outputs[1], plugin->right_output() + start);
      start += c.pieces[i];
    }
    for (int i = 0; i < c.buffer; ++i) {
      const float expected = i < start ? static_cast<float>(i + 1) : 0.0f;
      ASSERT_EQ(plugin->left_output()[i], expected) << i;
      ASSERT_EQ(plugin->right_output()[i], -expected) << i;
    }
  }
}

TEST(VstPluginProcess, GainsScaleInputsAndOutputs) {
  auto plugin = load("recorder");
  ASSERT_TRUE(plugin->alloc_channel_buffers(16));
  EXPECT_EQ(plugin->input_count(), 2);
  EXPECT_EQ(plugin->output_count(), 2);
  plugin->left_input()[0] = 1.0f;
  plugin->set_input_gain_db(20.0f);
  plugin->set_output_gain_db(-6.0f);
  plugin->process_block(16);
  EXPECT_NEAR(plugin->left_input()[0], 10.0f, 1e-5);
  EXPECT_NEAR(plugin->left_output()[0], 10.0f * 0.501187f, 1e-4);
}

}  // namespace
