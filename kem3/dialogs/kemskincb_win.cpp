// The skin selector's items and their drawing.
#include "kem3/dialogs/kemskincb_win.h"

#include "kem3/graphics/vosskinlist.h"
#include "kem3/pictures/kemimage.h"
#include "platform/unicode_convert.h"

void TKemSkinSelector::FillItems() {
  Items()->Clear();
  // Titles are UTF-8: shown whole, whatever the code page.
  for (int i = 0; i < GetSkinCount(); ++i) Items()->Add(Utf8ToWide(GetSkinTitle(i)));
}

void TKemSkinSelector::DrawItem(int Index, const TRect& Rect, TOwnerDrawState /*State*/) {
  TBitmap& work = BeginItem(Rect);
  work.Canvas()->FillRect(TRect(0, 0, work.Width(), work.Height()));
  int left = 0;
  const TBitmap* preview = GetSkinPreview(Index);
  if (preview && !preview->Empty()) {
    // The list owns the preview; blending and drawing only read it.
    TBitmap& picture = const_cast<TBitmap&>(*preview);
    if (picture.PixelFormat() == pf32bit) {
      AlphaBlendBitmap(work, 0, 0, picture);
    } else {
      work.Canvas()->Draw(0, 0, picture);
    }
    left = picture.Width();
  }
  EndItem(Items()->Get(Index), left + kTextGap, Rect);
}
