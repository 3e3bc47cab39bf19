#pragma once

#include "analyser/engine/BalanceAnalysis.h"
#include "analyser/engine/CorrelationMeter.h"
#include "framework/metering/Decibels.h"

// Both analyses as the signal tests drive them.
class Analysers {
public:
    void Setup(float rate)
    {
        const double updates = 1.0 / static_cast<double>(0.05f);
        mCorrelation.Configure(static_cast<int>(rate * 0.05f),
                               static_cast<float>(SmoothingCoefficient(5.0, updates)),
                               static_cast<float>(SmoothingCoefficient(1.0, updates)));
        mBalance.Configure(rate);
    }
    void Process(const float* a, const float* b, int frames)
    {
        mBalance.Process(a, b, frames);
        mCorrelation.Process(a, b, frames);
    }
    float Correlation() const { return mCorrelation.GetCorrelation(); }
    float Hold() const { return mCorrelation.GetMinHold(); }
    float Average() const { return mCorrelation.GetAverage(); }
    BalanceAnalysis& Balance() { return mBalance; }

private:
    CorrelationMeter mCorrelation;
    BalanceAnalysis mBalance;
};
