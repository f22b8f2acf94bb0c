// Recomposing each bar module's picture at 72 px from the shipped packages, as
// a forced update does: the clock with its second hand (face, three turned
// hands and the glass), the calendar's page and day, the bin and the battery
// (one picture each, resampled).
#include <benchmark/benchmark.h>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3module.h"
#include "platform/localclock.h"

namespace {

class TTickingClock : public TLocalClock {
 public:
  TLocalTime Now() override {
    TLocalTime t;
    t.Minute = static_cast<int>(FTick / 60 % 60);
    t.Second = static_cast<int>(FTick % 60);
    t.Hour = 10;
    ++FTick;
    return t;
  }

 private:
  long FTick = 0;
};

// Each module drawn from the package it starts with.
void RecomposeModule(benchmark::State& State, TOvModuleKind Kind, bool Force = true) {
  TTickingClock clock;
  TLocalClock* old = SetLocalClock(&clock);
  TKemXml doc;
  TKemXmlTag* e = doc.FindPath(String("ov3contents.modules.") + kModules[Kind].Name, true);
  e->FindPath("parameters.images", true)->WriteAttr("value", kModules[Kind].Package);
  e->FindPath("parameters.width", true)->WriteAttr("value", "72");
  e->FindPath("parameters.secondhand", true)->WriteAttr("value", "yes");
  const String dir = GetExeDir();
  auto module = NewModule(Kind, dir + "Resources" + String(1, dir.back()));
  module->SetElement(e);
  for (auto _ : State) benchmark::DoNotOptimize(module->UpdateImage(Force));
  SetLocalClock(old);
}

}  // namespace

BENCHMARK_CAPTURE(RecomposeModule, AnalogClock, omkAnalogClock)->Unit(benchmark::kMicrosecond);
// The second hand's tick: the kept face, one turned hand and the glass (the face anew once a minute).
BENCHMARK_CAPTURE(RecomposeModule, AnalogClockTick, omkAnalogClock, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RecomposeModule, Calendar, omkCalendar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RecomposeModule, RecycleBin, omkRecycleBin)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RecomposeModule, Battery, omkBattery)->Unit(benchmark::kMicrosecond);
