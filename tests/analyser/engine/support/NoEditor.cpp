// Programs of the engine alone: the plug-in object has no editor.
#include "analyser/engine/KorvaneEditorSide.h"

std::unique_ptr<KorvaneEditorSide> CreateKorvaneEditorSide(Korvane&) { return nullptr; }
