// Feeds arbitrary text to what the controls take from language files and
// users: the tracker's legend pattern, the spin edit's format pattern and
// its number reading. Each either gives a text or falls back as the controls
// promise (an empty legend, the "%g" look), never anything undefined.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/controls/kemedit_model.h"
#include "kem3/controls/kemsedit_model.h"
#include "kem3/controls/kemtrack_model.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TrackerLegend(text, static_cast<int>(size) - 50, 0.5, -3.25);

  TSpinSettings settings{nmFloat, text, -1, -1};
  const String shown = SpinText(settings, 12.5);
  double read = 0;
  if (TryReadSpinNumber(text, read)) {
    Check(std::isfinite(read));
    settings.MinValue = 0;
    settings.MaxValue = 10;
    const double v = SpinValue(settings, text);
    Check(std::isfinite(v));
    String rewritten;
    if (SpinExitText(settings, text, rewritten)) {
      // What the field shows once left reads back inside the limits.
      settings.FormatStr = "%g";
      const double again = SpinValue(settings, SpinText(settings, v));
      Check(again >= 0 && again <= 10);
    }
  }
  (void)shown;
  const TEditButtonLine line = ParseEditButtonLine(text);
  Check(ParseEditButtonLine(FormatEditButtonLine(line.Face, line.Id)) == line);
  ParseEditButtonFace(text);
  return 0;
}
