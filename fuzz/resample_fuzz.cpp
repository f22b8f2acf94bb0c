// Random sizes, formats, filters and supports for the resampler, and random
// positions and rectangles for the blend, shrink and rotation routines, on
// small bitmaps: nothing may read or write outside a bitmap, and every result
// keeps the size and format the routine promises.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads the input front to back; zeros once it runs out.
struct TInput {
  const std::uint8_t* Data;
  std::size_t Size;
  std::uint8_t Byte() { return Size ? (--Size, *Data++) : 0; }
  int Int16() {
    int low = Byte();
    return static_cast<std::int16_t>(low | Byte() << 8);
  }
};

const TPixelFormat kFormats[] = {pf32bit, pf24bit, pf8bit, pf1bit, pf16bit, pfDevice, pf4bit, pf15bit};

void Picture(TBitmap& b, TInput& In, int MaxWidth, int MaxHeight) {
  b.SetPixelFormat(kFormats[In.Byte() % 8]);
  int w = In.Byte() % (MaxWidth + 1);
  b.SetSize(w, In.Byte() % (MaxHeight + 1));
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (int i = 0, n = (b.Width() * BitsPerPixel(b.PixelFormat()) + 7) / 8; i < n; ++i) row[i] = In.Byte();
  }
}

// Mostly small pictures both ways; now and then a long strip, so that large
// shrinking and enlarging factors (and deep work-row rings) come up too.
void Resample(TInput& In) {
  TBitmap source, dest;
  bool strip = In.Byte() % 4 == 0;
  if (strip) {
    Picture(source, In, 255, 3);
  } else {
    Picture(source, In, 24, 24);
  }
  dest.SetPixelFormat(kFormats[In.Byte() % 8]);
  int w = In.Byte() % 48;
  dest.SetSize(w, In.Byte() % 48);
  if (strip && In.Byte() % 2) {
    // The strip turned on its side: tall sources exercise the vertical pass.
    TBitmap turned;
    RotateBitmap90(turned, source);
    source.Assign(turned);
  }
  int dw = dest.Width(), dh = dest.Height();
  int filter = In.Byte();
  double support = In.Byte() / 16.0;
  try {
    ResampleBitmap(dest, source, filter, support);
  } catch (const EInvalidGraphicOperation&) {
    Check(source.Empty() || (filter & 0x7F) > 6);
    return;
  }
  Check(dest.Width() == dw && dest.Height() == dh);
  if (dw == 0 || dh == 0) return;
  Check(dest.PixelFormat() == (BitsPerPixel(source.PixelFormat()) == 32 ? pf32bit : pf24bit));
  // The portable code path must give the same bytes.
  TBitmap portable;
  portable.SetSize(dw, dh);
  ResampleBitmapPortable(portable, source, filter, support);
  int used = dw * BitsPerPixel(dest.PixelFormat()) / 8;
  for (int y = 0; y < dh; ++y)
    Check(std::memcmp(portable.ScanLine(y), dest.ScanLine(y), static_cast<std::size_t>(used)) == 0);
}

void Pixels(TInput& In) {
  TBitmap a, b;
  Picture(a, In, 20, 20);
  Picture(b, In, 20, 20);
  int x = In.Int16() % 40, y = In.Int16() % 40;
  TRect r = Rect(In.Int16() % 30, In.Int16() % 30, In.Int16() % 30, In.Int16() % 30);
  switch (In.Byte() % 8) {
    case 0:
      AlphaBlendBitmap(a, x, y, b);
      break;
    case 1:
      AlphaBlendBitmapRectOpacity(a, x, y, In.Byte(), r, b);
      break;
    case 2:
      AlphaBlendBitmapRect(a, x, y, r, b);
      break;
    case 3: {
      int w = a.Width(), h = a.Height();
      ShrinkBitmap(a, b);
      Check(a.Width() == w && a.Height() == h);
      break;
    }
    case 4:
      RotateBitmap90(a, b);
      Check(a.Width() == b.Height() && a.Height() == b.Width());
      break;
    case 5:
      RotateBitmap(a, b, Point(x, y), In.Int16());
      Check(a.Width() == b.Width() && a.Height() == b.Height());
      break;
    case 6:
      CopyChannelToAlpha(a, b, In.Byte() % 4);
      break;
    default:
      AlphaBlendBitmap(a, x, y, a);
      break;
  }
  (void)GetPixelAlpha(a, x, y);
  (void)GetCornerColor(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  TInput in{data + 1, size - 1};
  if (data[0] & 1) {
    Resample(in);
  } else {
    Pixels(in);
  }
  return 0;
}
