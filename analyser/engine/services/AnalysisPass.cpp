#include "analyser/engine/services/AnalysisPass.h"

#include <algorithm>

#include "analyser/engine/services/SpanKernel.h"

void RunAnalysisPass(const AnalysisView& view, std::int32_t frames, const AnalysisParts& parts) {
  if (view.first == nullptr || view.second == nullptr || frames <= 0) return;
  BalanceAnalysis::Pass balance(parts.balance);
  CorrelationMeter::Pass correlation(parts.correlation);
  ScopeBufferPool::Pass scope(parts.scope);
  bool copying = scope.IsActive();
  for (std::int32_t i = 0; i < frames;) {
    SpanJob job;
    job.first = view.first + i;
    job.second = view.second + i;
    std::int32_t todo = frames - i;
    unsigned kinds = 0;
    if (balance.IsActive()) {
      todo = std::min(todo, balance.Room());
      kinds |= kSpanBalance;
    }
    if (correlation.IsActive()) {
      todo = std::min(todo, correlation.Room());
      correlation.Begin(job.first[0], job.second[0]);
      job.originFirst = correlation.OriginFirst();
      job.originSecond = correlation.OriginSecond();
      kinds |= kSpanCorrelation;
    }
    if (copying) {
      const std::int32_t room = scope.Room();
      copying = room > 0;
      if (copying) {
        todo = std::min(todo, room);
        job.copyFirst = scope.FirstDestination();
        job.copySecond = scope.SecondDestination();
        kinds |= kSpanCopy;
      }
    }
    if (kinds == 0) break;
    job.frames = todo;
    SpanSums sums;
    SpanKernelFor(kinds)(job, sums);
    if (balance.IsActive()) balance.Add(sums, todo);
    if (correlation.IsActive()) correlation.Add(sums, todo);
    if (kinds & kSpanCopy) scope.Add(sums.peak, todo);
    i += todo;
  }
  balance.Finish();
  correlation.Finish();
  scope.Finish();
}
