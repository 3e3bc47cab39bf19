// The host side of one VST 2 effect: the library, the effect record and one wrapper per
// dispatcher opcode. Every wrapper answers 0 while no effect is held.
//
// Threads. Tolvaran has two: the UI thread (main) and the capture thread. Loading, set-up and
// teardown run on the UI thread while no capture runs. Afterwards the capture thread only drives
// processReplacing (VstPluginEx::process_block); every other wrapper belongs to the UI thread.
// Nothing here locks: the plug-in guards its own state. Values that both threads read are atomics.
#pragma once

#include "host/vst/PluginLibrary.h"
#include "vst2/Vst2Interface.h"

#include <atomic>
#include <cstdint>

namespace tolvaran {

// The key record of the editor's key opcodes.
struct VstKey {
  int32_t character = 0;
  uint8_t virtual_key = 0;
  uint8_t modifiers = 0;
};

class HostedVstPlugin {
 public:
  HostedVstPlugin() = default;
  HostedVstPlugin(const HostedVstPlugin&) = delete;
  HostedVstPlugin& operator=(const HostedVstPlugin&) = delete;

  // UI thread. Closes the plug-in and releases its library when one is still loaded.
  virtual ~HostedVstPlugin();

  // Opcode wrappers: UI thread, before the capture starts or beside it. Each is one dispatcher
  // call; a plug-in that calls back re-enters host_callback on the same thread.
  virtual void set_parameter(int32_t index, float value);
  virtual float get_parameter(int32_t index);
  virtual intptr_t set_program(int32_t program);

  virtual intptr_t get_program();
  virtual intptr_t set_program_name(char* name);
  virtual intptr_t get_program_name(char* name);
  virtual intptr_t get_param_label(int32_t index, char* label);
  virtual intptr_t get_param_display(int32_t index, char* text);
  virtual intptr_t get_param_name(int32_t index, char* name);
  virtual intptr_t mains_changed(bool on);
  virtual intptr_t suspend();
  virtual intptr_t resume();
  virtual float get_vu();
  virtual intptr_t edit_get_rect(ERect** rect);
  virtual intptr_t edit_open(void* window);
  virtual intptr_t edit_open(void* window, int32_t index, intptr_t value);
  virtual intptr_t edit_close();
  virtual intptr_t edit_idle();
  virtual intptr_t identify();
  virtual intptr_t get_chunk(void** data, bool is_preset);
  virtual intptr_t set_chunk(void* data, intptr_t size, bool is_preset);
  virtual intptr_t process_events(void* events);
  virtual intptr_t can_be_automated(int32_t index);
  virtual intptr_t string_to_parameter(int32_t index, char* text);
  virtual intptr_t get_num_program_categories();
  virtual intptr_t get_program_name_indexed(int32_t category, int32_t index, char* name);
  virtual intptr_t copy_program(int32_t destination);
  virtual intptr_t connect_input(int32_t index, bool connected);
  virtual intptr_t connect_output(int32_t index, bool connected);
  virtual intptr_t get_input_properties(int32_t index, void* properties);
  virtual intptr_t get_output_properties(int32_t index, void* properties);
  virtual intptr_t get_plug_category();
  virtual intptr_t get_current_position();
  virtual intptr_t get_destination_buffer();
  virtual intptr_t offline_notify(void* files, intptr_t count, int32_t start);
  virtual intptr_t offline_prepare(void* tasks, intptr_t count);
  virtual intptr_t offline_run(void* tasks, intptr_t count);
  virtual intptr_t process_var_io(void* io);
  virtual intptr_t set_speaker_arrangement(void* input, void* output);
  virtual intptr_t set_block_size_and_sample_rate(int32_t block_size, float sample_rate);
  virtual intptr_t set_bypass(bool bypass);
  virtual intptr_t get_effect_name(char* name);
  virtual intptr_t get_error_text(char* text);
  virtual intptr_t get_vendor_string(char* text);
  virtual intptr_t get_product_string(char* text);
  virtual intptr_t get_vendor_version();
  virtual intptr_t vendor_specific(int32_t index, intptr_t value, void* ptr, float opt);
  virtual intptr_t can_do(const char* what);
  virtual intptr_t get_tail_size();
  virtual intptr_t idle();
  virtual intptr_t get_icon();
  virtual intptr_t set_view_position(int32_t x, int32_t y);
  virtual intptr_t get_parameter_properties(int32_t index, void* properties);
  virtual intptr_t keys_required();
  virtual intptr_t get_vst_version();
  virtual intptr_t edit_key_down(const VstKey& key);
  virtual intptr_t edit_key_up(const VstKey& key);
  virtual intptr_t set_edit_knob_mode(int32_t mode);
  virtual intptr_t get_midi_program_name(int32_t channel, void* name);
  virtual intptr_t get_current_midi_program(int32_t channel, void* name);
  virtual intptr_t get_midi_program_category(int32_t channel, void* category);
  virtual intptr_t has_midi_programs_changed(int32_t channel);
  virtual intptr_t get_midi_key_name(int32_t channel, void* key_name);
  virtual intptr_t begin_set_program();
  virtual intptr_t end_set_program();
  virtual intptr_t get_speaker_arrangement(void* input, void* output);
  virtual intptr_t set_total_sample_to_process(intptr_t samples);
  virtual intptr_t shell_get_next_plugin(char* name);
  virtual intptr_t start_process();
  virtual intptr_t stop_process();
  virtual intptr_t set_pan_law(int32_t law, float gain);
  virtual intptr_t begin_load_bank(void* info);
  virtual intptr_t begin_load_program(void* info);
  virtual intptr_t set_process_precision(int32_t precision);
  virtual intptr_t get_num_midi_input_channels();
  virtual intptr_t get_num_midi_output_channels();

  // Loading and set-up: UI thread, before the capture thread starts.
  // Loads the library, calls its entry point with host_callback, checks the record and opens
  // it. On false nothing stays loaded: a plug-in of a refused category has been closed and
  // its library released, so no later wrapper reaches it.
  bool load_plugin(const char* file_name);
  intptr_t open();
  intptr_t close();
  intptr_t set_sample_rate(float rate);
  intptr_t set_block_size(int32_t size);
  bool check_plug_category();

  // The plug-in asked for effIdle calls (audioMasterNeedIdle); any thread.
  void set_need_idle() { need_idle_.store(true, std::memory_order_relaxed); }

  AEffect* effect() const { return effect_; }
  // The block size last declared to the plug-in, 0 before any.
  int32_t declared_block_size() const { return block_size_.load(std::memory_order_relaxed); }

  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

 protected:
  // Sends effClose and releases the library, once. The most derived destructor that answers
  // host callbacks calls it first thing, so a plug-in that calls back while closing finds its
  // host object whole.
  void unload();

 private:
  // For opcodes whose ptr the plug-in reads or writes: no call with a null one.
  intptr_t dispatch_out(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt = 0.0f);

  PluginLibraryHandle library_ = nullptr;
  AEffect* effect_ = nullptr;
  bool editor_open_ = false;
  std::atomic<bool> need_idle_{false};
  bool in_idle_ = false;
  bool in_set_program_ = false;
  std::atomic<int32_t> block_size_{0};
  static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int32_t>::is_always_lock_free,
                "flags shared with the audio thread");
};

}  // namespace tolvaran
