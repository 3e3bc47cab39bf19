#pragma once

class PluginServices;

// Plug-in state changes only on a thread that holds the instance mutex. Where it changes, the
// instance is asked whether the calling thread holds it; a handler that tests install hears of
// every change made without it. With no handler installed nothing is asked.
namespace InstanceMutexCheck {

using Handler = void (*)(const char* where);

// Null turns the check off.
void Install(Handler handler);
void Expect(const PluginServices* services, const char* where);

}  // namespace InstanceMutexCheck
