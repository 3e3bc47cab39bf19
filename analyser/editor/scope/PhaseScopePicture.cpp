#include "analyser/editor/scope/PhaseScopePicture.h"

using namespace phasescope;

bool PhaseScopePicture::Take(const PhaseScopeModel& model, const ScopeLook& look) {
  const Look now{model.GetDrawMode(),          model.IsCentred(),     look.colour,
                 PointsPerLayer(look.density), Effective(look.decay), BinCount(look.density)};
  bool changed = !mKnown || !(now == mLook);
  const std::int32_t layers = model.GetLayerCount(now.decay);
  const std::uint32_t made = model.GetLayersMade();
  if (now.mode == PhaseScopeModel::kPolarRays || now.mode == PhaseScopeModel::kPolarLines) {
    const std::int32_t next = 1 - mTraced;
    mOutlines[next].Trace(model, now.bins);
    changed = changed || !(mOutlines[next] == mOutlines[mTraced]);
    mTraced = next;
  } else {
    // Shown before and now are the newest of the layers that repeat one another: each paints
    // that one layer in the newest colour.
    const std::uint64_t fresh = made - mMade;
    const bool same = (fresh == 0 && layers == mLayers) ||
                      (mLayers > 0 && layers > 0 && model.GetSameLayers() >= fresh + std::uint64_t(mLayers));
    changed = changed || !same;
  }
  mKnown = true;
  mLook = now;
  mLayers = layers;
  mMade = made;
  return changed;
}
