#include "host/vst/HostedVstPlugin.h"

#include "host/vst/HostCallback.h"

namespace tolvaran {

namespace {

// The fill pattern some heaps leave in freed memory: a record read from a dead object.
constexpr uintptr_t kFreedFill = 0xFEEEFEEEu;

bool accepted_category(intptr_t category) {
  switch (category) {
    case kPlugCategUnknown:
    case kPlugCategEffect:
    case kPlugCategAnalysis:
    case kPlugCategMastering:
    case kPlugCategRoomFx:
    case kPlugSurroundFx:
      return true;
    default:
      return false;
  }
}

}  // namespace

HostedVstPlugin::~HostedVstPlugin() { unload(); }

void HostedVstPlugin::unload() {
  if (library_ && effect_) close();
  effect_ = nullptr;
  close_plugin_library(library_);
  library_ = nullptr;
}

intptr_t HostedVstPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (!effect_ || reinterpret_cast<uintptr_t>(effect_) == kFreedFill || !effect_->dispatcher) return 0;
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

intptr_t HostedVstPlugin::dispatch_out(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return ptr ? dispatch(opcode, index, value, ptr, opt) : 0;
}

bool HostedVstPlugin::load_plugin(const char* file_name) {
  if (library_) return false;  // one library per object
  library_ = open_plugin_library(file_name);
  const VstPluginMainProc entry = find_plugin_entry(library_);
  if (!entry) {
    unload();
    return false;
  }
  AEffect* effect = nullptr;
  try {
    effect = entry(host_callback);
  } catch (...) {
    effect = nullptr;  // a plug-in that throws from its entry is refused like one without it
  }
  if (!effect || effect->magic != kEffectMagic) {
    unload();
    return false;
  }
  effect_ = effect;
  open();
  if (!check_plug_category()) {
    unload();
    return false;
  }
  return true;
}

intptr_t HostedVstPlugin::open() { return dispatch(effOpen); }
intptr_t HostedVstPlugin::close() { return dispatch(effClose); }
intptr_t HostedVstPlugin::set_sample_rate(float rate) {
  return dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

intptr_t HostedVstPlugin::set_block_size(int32_t size) {
  if (effect_) block_size_.store(size, std::memory_order_relaxed);
  return dispatch(effSetBlockSize, 0, size);
}

bool HostedVstPlugin::check_plug_category() { return effect_ && accepted_category(get_plug_category()); }

void HostedVstPlugin::set_parameter(int32_t index, float value) {
  if (effect_ && effect_->setParameter) effect_->setParameter(effect_, index, value);
}

float HostedVstPlugin::get_parameter(int32_t index) {
  return effect_ && effect_->getParameter ? effect_->getParameter(effect_, index) : 0.0f;
}

intptr_t HostedVstPlugin::set_program(int32_t program) {
  begin_set_program();
  const intptr_t answer = dispatch(effSetProgram, 0, program);
  end_set_program();
  return answer;
}

intptr_t HostedVstPlugin::get_program() { return dispatch(effGetProgram); }
intptr_t HostedVstPlugin::set_program_name(char* name) { return dispatch_out(effSetProgramName, 0, 0, name); }
intptr_t HostedVstPlugin::get_program_name(char* name) { return dispatch_out(effGetProgramName, 0, 0, name); }
intptr_t HostedVstPlugin::get_param_label(int32_t index, char* label) {
  return dispatch_out(effGetParamLabel, index, 0, label);
}
intptr_t HostedVstPlugin::get_param_display(int32_t index, char* text) {
  return dispatch_out(effGetParamDisplay, index, 0, text);
}
intptr_t HostedVstPlugin::get_param_name(int32_t index, char* name) {
  return dispatch_out(effGetParamName, index, 0, name);
}
intptr_t HostedVstPlugin::mains_changed(bool on) { return dispatch(effMainsChanged, 0, on ? 1 : 0); }
intptr_t HostedVstPlugin::suspend() { return dispatch(effMainsChanged, 0, 0); }
intptr_t HostedVstPlugin::resume() { return dispatch(effMainsChanged, 0, 1); }
float HostedVstPlugin::get_vu() { return static_cast<float>(dispatch(effGetVu)) / 32767.0f; }
intptr_t HostedVstPlugin::edit_get_rect(ERect** rect) { return dispatch_out(effEditGetRect, 0, 0, rect); }

intptr_t HostedVstPlugin::edit_open(void* window) {
  if (effect_) editor_open_ = true;
  return dispatch(effEditOpen, 0, 0, window);
}

intptr_t HostedVstPlugin::edit_open(void* window, int32_t index, intptr_t value) {
  if (effect_) editor_open_ = true;
  return dispatch(effEditOpen, index, value, window);
}

intptr_t HostedVstPlugin::edit_close() { return dispatch(effEditClose); }

intptr_t HostedVstPlugin::edit_idle() {
  // A plug-in that asks the host for idle from inside its own idle gets nothing more.
  if (!editor_open_ || in_idle_) return 0;
  in_idle_ = true;
  const intptr_t answer = dispatch(effEditIdle);
  in_idle_ = false;
  return answer;
}

intptr_t HostedVstPlugin::identify() { return dispatch(effIdentify); }
intptr_t HostedVstPlugin::get_chunk(void** data, bool is_preset) {
  return dispatch_out(effGetChunk, is_preset ? 1 : 0, 0, data);
}

intptr_t HostedVstPlugin::set_chunk(void* data, intptr_t size, bool is_preset) {
  begin_set_program();
  const intptr_t answer = dispatch(effSetChunk, is_preset ? 1 : 0, size, data);
  end_set_program();
  return answer;
}

intptr_t HostedVstPlugin::process_events(void* events) { return dispatch(effProcessEvents, 0, 0, events); }
intptr_t HostedVstPlugin::can_be_automated(int32_t index) { return dispatch(effCanBeAutomated, index); }
intptr_t HostedVstPlugin::string_to_parameter(int32_t index, char* text) {
  return dispatch(effString2Parameter, index, 0, text);
}
intptr_t HostedVstPlugin::get_num_program_categories() { return dispatch(effGetNumProgramCategories); }

intptr_t HostedVstPlugin::get_program_name_indexed(int32_t category, int32_t index, char* name) {
  return dispatch_out(effGetProgramNameIndexed, index, category, name);
}

intptr_t HostedVstPlugin::copy_program(int32_t destination) { return dispatch(effCopyProgram, destination); }
intptr_t HostedVstPlugin::connect_input(int32_t index, bool connected) {
  return dispatch(effConnectInput, index, connected ? 1 : 0);
}
intptr_t HostedVstPlugin::connect_output(int32_t index, bool connected) {
  return dispatch(effConnectOutput, index, connected ? 1 : 0);
}

intptr_t HostedVstPlugin::get_input_properties(int32_t index, void* properties) {
  return dispatch_out(effGetInputProperties, index, 0, properties);
}

intptr_t HostedVstPlugin::get_output_properties(int32_t index, void* properties) {
  return dispatch_out(effGetOutputProperties, index, 0, properties);
}

intptr_t HostedVstPlugin::get_plug_category() { return dispatch(effGetPlugCategory); }
intptr_t HostedVstPlugin::get_current_position() { return dispatch(effGetCurrentPosition); }
intptr_t HostedVstPlugin::get_destination_buffer() { return dispatch(effGetDestinationBuffer); }

intptr_t HostedVstPlugin::offline_notify(void* files, intptr_t count, int32_t start) {
  return dispatch(effOfflineNotify, start, count, files);
}

intptr_t HostedVstPlugin::offline_prepare(void* tasks, intptr_t count) {
  return dispatch(effOfflinePrepare, 0, count, tasks);
}
intptr_t HostedVstPlugin::offline_run(void* tasks, intptr_t count) {
  return dispatch(effOfflineRun, 0, count, tasks);
}
intptr_t HostedVstPlugin::process_var_io(void* io) { return dispatch(effProcessVarIo, 0, 0, io); }

intptr_t HostedVstPlugin::set_speaker_arrangement(void* input, void* output) {
  return dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input), output);
}

intptr_t HostedVstPlugin::set_block_size_and_sample_rate(int32_t block_size, float sample_rate) {
  if (effect_) block_size_.store(block_size, std::memory_order_relaxed);
  return dispatch(effSetBlockSizeAndSampleRate, 0, block_size, nullptr, sample_rate);
}

intptr_t HostedVstPlugin::set_bypass(bool bypass) { return dispatch(effSetBypass, 0, bypass ? 1 : 0); }
intptr_t HostedVstPlugin::get_effect_name(char* name) { return dispatch_out(effGetEffectName, 0, 0, name); }
intptr_t HostedVstPlugin::get_error_text(char* text) { return dispatch_out(effGetErrorText, 0, 0, text); }
intptr_t HostedVstPlugin::get_vendor_string(char* text) {
  return dispatch_out(effGetVendorString, 0, 0, text);
}
intptr_t HostedVstPlugin::get_product_string(char* text) {
  return dispatch_out(effGetProductString, 0, 0, text);
}
intptr_t HostedVstPlugin::get_vendor_version() { return dispatch(effGetVendorVersion); }

intptr_t HostedVstPlugin::vendor_specific(int32_t index, intptr_t value, void* ptr, float opt) {
  return dispatch(effVendorSpecific, index, value, ptr, opt);
}

intptr_t HostedVstPlugin::can_do(const char* what) {
  return dispatch_out(effCanDo, 0, 0, const_cast<char*>(what));
}
intptr_t HostedVstPlugin::get_tail_size() { return dispatch(effGetTailSize); }
intptr_t HostedVstPlugin::idle() {
  return need_idle_.load(std::memory_order_relaxed) ? dispatch(effIdle) : 0;
}
intptr_t HostedVstPlugin::get_icon() { return dispatch(effGetIcon); }
intptr_t HostedVstPlugin::set_view_position(int32_t x, int32_t y) {
  return dispatch(effSetViewPosition, x, y);
}

intptr_t HostedVstPlugin::get_parameter_properties(int32_t index, void* properties) {
  return dispatch_out(effGetParameterProperties, index, 0, properties);
}

intptr_t HostedVstPlugin::keys_required() { return dispatch(effKeysRequired); }
intptr_t HostedVstPlugin::get_vst_version() { return dispatch(effGetVstVersion); }

intptr_t HostedVstPlugin::edit_key_down(const VstKey& key) {
  return dispatch(effEditKeyDown, key.character, key.virtual_key, nullptr, key.modifiers);
}

intptr_t HostedVstPlugin::edit_key_up(const VstKey& key) {
  return dispatch(effEditKeyUp, key.character, key.virtual_key, nullptr, key.modifiers);
}

intptr_t HostedVstPlugin::set_edit_knob_mode(int32_t mode) { return dispatch(effSetEditKnobMode, 0, mode); }

intptr_t HostedVstPlugin::get_midi_program_name(int32_t channel, void* name) {
  return dispatch_out(effGetMidiProgramName, channel, 0, name);
}

intptr_t HostedVstPlugin::get_current_midi_program(int32_t channel, void* name) {
  return dispatch_out(effGetCurrentMidiProgram, channel, 0, name);
}

intptr_t HostedVstPlugin::get_midi_program_category(int32_t channel, void* category) {
  return dispatch_out(effGetMidiProgramCategory, channel, 0, category);
}

intptr_t HostedVstPlugin::has_midi_programs_changed(int32_t channel) {
  return dispatch(effHasMidiProgramsChanged, channel);
}

intptr_t HostedVstPlugin::get_midi_key_name(int32_t channel, void* key_name) {
  return dispatch_out(effGetMidiKeyName, channel, 0, key_name);
}

intptr_t HostedVstPlugin::begin_set_program() {
  in_set_program_ = dispatch(effBeginSetProgram) != 0;
  return in_set_program_ ? 1 : 0;
}

intptr_t HostedVstPlugin::end_set_program() {
  in_set_program_ = false;
  return dispatch(effEndSetProgram);
}

intptr_t HostedVstPlugin::get_speaker_arrangement(void* input, void* output) {
  return dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input), output);
}

intptr_t HostedVstPlugin::set_total_sample_to_process(intptr_t samples) {
  return dispatch(effSetTotalSampleToProcess, 0, samples);
}
intptr_t HostedVstPlugin::shell_get_next_plugin(char* name) {
  return dispatch_out(effShellGetNextPlugin, 0, 0, name);
}
intptr_t HostedVstPlugin::start_process() { return dispatch(effStartProcess); }
intptr_t HostedVstPlugin::stop_process() { return dispatch(effStopProcess); }
intptr_t HostedVstPlugin::set_pan_law(int32_t law, float gain) {
  return dispatch(effSetPanLaw, 0, law, nullptr, gain);
}
intptr_t HostedVstPlugin::begin_load_bank(void* info) { return dispatch(effBeginLoadBank, 0, 0, info); }
intptr_t HostedVstPlugin::begin_load_program(void* info) { return dispatch(effBeginLoadProgram, 0, 0, info); }
intptr_t HostedVstPlugin::set_process_precision(int32_t precision) {
  return dispatch(effSetProcessPrecision, 0, precision);
}
intptr_t HostedVstPlugin::get_num_midi_input_channels() { return dispatch(effGetNumMidiInputChannels); }
intptr_t HostedVstPlugin::get_num_midi_output_channels() { return dispatch(effGetNumMidiOutputChannels); }

}  // namespace tolvaran
