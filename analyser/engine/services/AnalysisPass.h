#pragma once

#include <cstdint>

#include "analyser/engine/services/AnalysisView.h"
#include "analyser/engine/services/BalanceAnalysis.h"
#include "analyser/engine/services/CorrelationMeter.h"
#include "analyser/engine/services/ScopeBuffer.h"

// The measurements that one pass over a block feeds; a null part is not measured.
struct AnalysisParts {
  BalanceAnalysis* balance = nullptr;
  CorrelationMeter* correlation = nullptr;
  ScopeBufferPool* scope = nullptr;
};

// Audio thread: reads the block once for every part, in spans cut at each part's next window,
// segment or buffer end. Allocates nothing and takes no lock. A view without both channels, or
// a block of no frames, changes nothing.
void RunAnalysisPass(const AnalysisView& view, std::int32_t frames, const AnalysisParts& parts);
