// instanceprobe.exe MODE NAME HANDLEFILE: a second start as the single-instance
// tests see it. Exit codes: 0 handed over to the running instance and ended,
// 10 another instance holds the name (mode "init" only looks), 11 no other
// instance holds it, 2 wrong arguments.
//   init      InitSingleInstance and report
//   activate  InitSingleInstance, and when another instance runs,
//             ActivatePreviousInstance as the launcher does
#include "kem3/framework/kemsingle_win.h"
#include "platform/unicode_convert.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  auto utf8 = [](const wchar_t* text) { return WideToUtf8(reinterpret_cast<const char16_t*>(text)); };
  const std::wstring mode = argv[1];
  const bool another = InitSingleInstance(utf8(argv[2]), utf8(argv[3]));
  if (mode == L"init") return another ? 10 : 11;
  if (mode == L"activate") {
    if (another) ActivatePreviousInstance();
    return 11;
  }
  return 2;
}
