// The native build has no message loop: its timers never tick unless a test
// puts a TFakeTimerService in place.
#include "platform/timer.h"

namespace {

class TIdleTimerService : public TTimerService {
 public:
  void Start(TTimer*, unsigned) override {}
  void Stop(TTimer*) override {}
};

}  // namespace

TTimerService* PlatformTimerService() {
  static TIdleTimerService service;
  return &service;
}
