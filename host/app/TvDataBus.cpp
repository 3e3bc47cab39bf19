#include "host/app/TvDataBus.h"

namespace tolvaran {

TvDataBus* TvDataBus::instance() {
  static TvDataBus* bus = new TvDataBus;
  return bus;
}

}  // namespace tolvaran
