#include "framework/services/Exceptions.h"

namespace AppFrame {
namespace {

// Throws on the audio and the editor thread may race; one pointer keeps file and line paired.
std::atomic<const ThrowSite*> gLastSite{nullptr};
static_assert(std::atomic<const ThrowSite*>::is_always_lock_free);

}  // namespace

ThrowSite GetLastExceptionSite() {
  const ThrowSite* site = gLastSite.load(std::memory_order_acquire);
  return site ? *site : ThrowSite{};
}

Exception::Exception(const ThrowSite* site) { gLastSite.store(site, std::memory_order_release); }

Exception::~Exception() = default;

}  // namespace AppFrame
