// The system's text output for skins: DrawTextW with an anti-aliased font,
// white on the mask the skin then colours and blends.
#include <map>
#include <tuple>

#include "kem3/graphics/vosskintext.h"
#include "platform/canvas_win.h"
#include "platform/dc_win.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

// A font handle made for one font description, freed with its owner.
struct TFontHandle {
  HFONT Handle = nullptr;
  explicit TFontHandle(HFONT H) : Handle(H) {}
  ~TFontHandle() {
    if (Handle) DeleteObject(Handle);
  }
  TFontHandle(const TFontHandle&) = delete;
  TFontHandle& operator=(const TFontHandle&) = delete;
};

class TGdiRasterizer : public IVosTextRasterizer {
 public:
  TGdiRasterizer() : FMeasureDC(CreateCompatibleDC(nullptr)) {}
  ~TGdiRasterizer() override {
    FFonts.clear();
    if (FMeasureDC) DeleteDC(FMeasureDC);
  }

  TSize Measure(const TVosFontSpec& Font, const WideString& Text, unsigned Flags, int Width) override {
    if (!FMeasureDC) return {};
    TSelectScope font(FMeasureDC, FontOf(Font));
    RECT r{0, 0, Width, 0};
    const std::wstring text(Text.begin(), Text.end());
    DrawTextW(FMeasureDC, text.c_str(), static_cast<int>(text.size()), &r, Flags | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
  }

  void Render(TBitmap& Mask, const TVosFontSpec& Font, const WideString& Text, const TRect& Rect,
              unsigned Flags) override {
    HDC dc = Mask.Canvas()->Handle();
    TSelectScope font(dc, FontOf(Font));
    const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    const std::wstring text(Text.begin(), Text.end());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, Flags & ~static_cast<unsigned>(DT_CALCRECT));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    // The skin reads the mask's pixels next: the drawing must be done by then.
    GdiFlush();
  }

 private:
  HFONT FontOf(const TVosFontSpec& Font) {
    const auto key = std::make_tuple(Font.Name, Font.Size, Font.Style.Contains(fsBold), Font.Style.Contains(fsItalic),
                                     Font.Style.Contains(fsUnderline));
    auto it = FFonts.find(key);
    if (it != FFonts.end()) return it->second->Handle;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(Font.Size, 96, 72);
    lf.lfWeight = Font.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Font.Style.Contains(fsItalic);
    lf.lfUnderline = Font.Style.Contains(fsUnderline);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    const WideString face = Utf8ToWide(Font.Name);
    for (size_t i = 0; i < face.size() && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = static_cast<wchar_t>(face[i]);
    // Text in many sizes and styles would keep fonts without end: a full cache starts again.
    if (FFonts.size() >= 32) FFonts.clear();
    auto handle = std::make_unique<TFontHandle>(CreateFontIndirectW(&lf));
    HFONT result = handle->Handle;
    FFonts.emplace(key, std::move(handle));
    return result;
  }

  HDC FMeasureDC;
  std::map<std::tuple<String, int, bool, bool, bool>, std::unique_ptr<TFontHandle>> FFonts;
};

}  // namespace

std::unique_ptr<IVosTextRasterizer> NewVosTextRasterizer() { return std::make_unique<TGdiRasterizer>(); }
