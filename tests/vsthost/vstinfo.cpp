// Loads a VST 2 plug-in, prints its effect record and names, and closes it again.
#include <cstdio>
#include <exception>

#include "tests/vsthost/VstHost.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PLUGIN.so\n", argv[0]);
    return 2;
  }
  try {
    vsthost::PluginLibrary library(argv[1]);
    vsthost::Host host(library);
    AEffect* effect = host.Instantiate();
    if (!effect) {
      std::fprintf(stderr, "%s: the entry point returned no effect\n", argv[1]);
      return 1;
    }
    const auto text = [&](std::int32_t opcode, size_t size) {
      return host.DispatchString(opcode, 0, size, nullptr);
    };
    const std::uint32_t id = static_cast<std::uint32_t>(effect->uniqueID);
    std::printf("plug-in      %s\n", argv[1]);
    std::printf("effect name  %s\n", text(effGetEffectName, kVstMaxEffectNameLen).c_str());
    std::printf("vendor       %s\n", text(effGetVendorString, kVstMaxVendorStrLen).c_str());
    std::printf("product      %s\n", text(effGetProductString, kVstMaxProductStrLen).c_str());
    std::printf("magic        0x%08X\n", static_cast<std::uint32_t>(effect->magic));
    std::printf("unique id    0x%08X '%c%c%c%c'\n", id, static_cast<char>(id >> 24),
                static_cast<char>(id >> 16), static_cast<char>(id >> 8), static_cast<char>(id));
    std::printf("version      %d\n", effect->version);
    std::printf("category     %ld\n", static_cast<long>(host.Dispatch(effGetPlugCategory)));
    std::printf("inputs       %d\n", effect->numInputs);
    std::printf("outputs      %d\n", effect->numOutputs);
    std::printf("programs     %d\n", effect->numPrograms);
    std::printf("parameters   %d\n", effect->numParams);
    std::printf("flags        0x%X\n", static_cast<unsigned>(effect->flags));
    std::printf("delay        %d\n", effect->initialDelay);
    std::printf("io ratio     %g\n", static_cast<double>(effect->ioRatio));
    for (std::int32_t i = 0; i < effect->numParams; ++i) {
      std::printf("parameter %d  %s\n", i,
                  host.DispatchString(effGetParamName, i, kVstMaxParamStrLen, nullptr).c_str());
    }
    std::printf("effClose     %ld\n", static_cast<long>(host.Close()));
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
