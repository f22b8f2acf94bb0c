// The Windows side of colours, fonts, pens and brushes: the system's colours and
// the GDI objects made from the descriptions, cached until the next change.
#include <algorithm>
#include <string>

#include "platform/graphics.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

TColor SystemSysColor(int Index) { return static_cast<TColor>(GetSysColor(Index)); }

namespace {

void DeleteGdiObject(void* handle) { DeleteObject(static_cast<HGDIOBJ>(handle)); }

[[noreturn]] void OutOfResources() { throw EOutOfResources("Out of system resources"); }

}  // namespace

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    WideString face = Utf8ToWide(FName);
    // The face name has room for 31 characters and the terminator.
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font) OutOfResources();
    FHandle = TGraphicsHandle(font, DeleteGdiObject);
  }
  return static_cast<HFONT>(FHandle.Get());
}

HPEN TPen::Handle() {
  if (!FHandle) {
    LOGPEN lp{};
    lp.lopnStyle = static_cast<UINT>(FStyle);  // the enumeration follows PS_SOLID…PS_INSIDEFRAME
    lp.lopnWidth.x = FWidth;
    lp.lopnColor = static_cast<COLORREF>(ColorToRGB(FColor));
    HPEN pen = CreatePenIndirect(&lp);
    if (!pen) OutOfResources();
    FHandle = TGraphicsHandle(pen, DeleteGdiObject);
  }
  return static_cast<HPEN>(FHandle.Get());
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    LOGBRUSH lb{};
    lb.lbColor = static_cast<COLORREF>(ColorToRGB(FColor));
    switch (FStyle) {
      case bsSolid:
        lb.lbStyle = BS_SOLID;
        break;
      case bsClear:
        lb.lbStyle = BS_HOLLOW;
        break;
      default:
        lb.lbStyle = BS_HATCHED;
        // bsHorizontal… follow the order of HS_HORIZONTAL…HS_DIAGCROSS.
        lb.lbHatch = static_cast<ULONG_PTR>(FStyle - bsHorizontal + HS_HORIZONTAL);
        break;
    }
    HBRUSH brush = CreateBrushIndirect(&lb);
    if (!brush) OutOfResources();
    FHandle = TGraphicsHandle(brush, DeleteGdiObject);
  }
  return static_cast<HBRUSH>(FHandle.Get());
}
