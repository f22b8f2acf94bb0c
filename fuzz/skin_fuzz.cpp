// Feeds arbitrary bytes to the skin engine as a skin definition: the scan and
// every layout the bytes name load without a crash (a file that is no skin
// definition ends in EVosSkin), and whatever was loaded draws and gives its
// regions. Text drawings and the mark-up of item texts get the bytes too.
// fuzz.sh: -max_len=262144
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "kem3/framework/kemxml.h"
#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/graphics/vosskinmarkup.h"
#include "kem3/graphics/vosskinpixels.h"
#include "platform/sysutils.h"

namespace {

// One folder per process, with a picture the definitions may name.
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("orv_skin_fuzz_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "skin");
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(6, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) picture.SetPixelColor(x, y, (x + y) % 3 ? kVosOutsideColor : kVosShowThroughColor);
    picture.SaveToFile((dir / "skin" / "p.bmp").string());
    return dir;
  }();
  return folder;
}

void Exercise(TVosSkin& Skin) {
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(24, 16);
  Skin.AddCacheSlot();
  Skin.SelectCacheSlot(0);
  for (int w = 0; w < static_cast<int>(Skin.Windows().size()) && w < 4; ++w) {
    Skin.SelectWindow(w);
    Skin.ResizeTextures(24, 16);
    Skin.DrawWindowFrame(target, Rect(0, 0, 24, 16), false, {Rect(2, 2, 6, 6)}, Skin.Window().FormFrame);
    Skin.DrawPanelListFrame(target, Rect(0, 0, 24, 16), -3, -5);
    Skin.DrawPanelItem(target, Rect(1, 1, 20, 12), 1, vpsSelected, 0, 0);
    Skin.DrawButtonSetItem(target, Rect(0, 0, 24, 16), 2, 0, 0);
    Skin.DrawScrollBar(target, Rect(0, 0, 8, 16), 1);
    Skin.DrawMenuBackground(target, Rect(0, 0, 24, 16), "main");
    Skin.DrawCaptionText(target, Rect(0, 0, 24, 16), u"Ab");
    for (int g = 0; g <= 8; ++g) Skin.GetGripRegion(Skin.Window().FormFrame, g, 24, 16);
    Skin.GetWindowRegion(Skin.Window().FormFrame, 24, 16);
  }
  for (int g = 0; g < Skin.GlyphCount() && g < 4; ++g) Skin.DrawGlyph(g, target, 1, 1);
  for (int b = 0; b < Skin.BorderCount() && b < 4; ++b) Skin.DrawBorder(b, target, Rect(0, 0, 24, 16), b % 2 == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size) {
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::filesystem::path file = Folder() / "skin" / "skin.xml";
  std::ofstream(file, std::ios::binary | std::ios::trunc) << input;

  ScanSkinsIn(Folder().string());
  for (int s = 0; s < GetSkinCount(); ++s)
    for (int l = 0; l < GetSkinLayouts(s)->Count() && l < 4; ++l) SelectSkin(s, l);

  // Every layout element the bytes hold, each on its own.
  TKemXml document(String(), 0, true);
  document.LoadFromString(input);
  const TKemXmlTag* layouts = document.Root()->FindPath("vosskindefinition.layout");
  for (int i = 0; layouts && i < layouts->GetChildCount() && i < 8; ++i) {
    TVosSkin skin;
    skin.SetDefinitionFile(file.string());
    skin.SetLayoutId(layouts->GetChild(i)->Name);
    try {
      skin.Reload();
    } catch (const EVosSkin&) {
      continue;
    }
    Exercise(skin);
  }

  VosParseTextDrawing(input);
  VosLayoutMarkup(WideString(input.begin(), input.end()), Rect(0, 0, 100, 40), {0, -10, 30}, 10,
                  [](const WideString& t, const TVosRunStyle&) { return static_cast<int>(t.size()); });
  FreeSkinList();
  return 0;
}
