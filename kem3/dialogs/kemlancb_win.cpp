// The language selector's items and their drawing.
#include "kem3/dialogs/kemlancb_win.h"

#include <algorithm>

#include "kem3/framework/kemlan.h"

void TKemLanSelector::FillItems() {
  Items()->Clear();
  for (int i = 0; i < LanguageCount(); ++i) Items()->Add(LanguageDisplayName(i));
}

void TKemLanSelector::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TBitmap* flag = State.Contains(odSelected) ? LanguageFlagSelected(Index) : LanguageFlag(Index);
  if (flag && flag->Empty()) flag = nullptr;
  TBitmap& work = BeginItem(Rect);
  TCanvas* canvas = work.Canvas();
  // Each name in its language's own font, as large as the dialog's (scaled) font.
  canvas->Font()->SetName(LanguageFontName(Index, 0));
  canvas->Font()->SetSize(Font()->Size());
  canvas->FillRect(TRect(0, 0, work.Width(), work.Height()));
  // At the left edge, centred in height (a flag as tall as the item lies at the top).
  const int flagWidth = flag ? flag->Width() : 0;
  if (flag) canvas->Draw(0, std::max(0, (work.Height() - flag->Height()) / 2), *flag);
  EndItem(LanguageDisplayName(Index), flagWidth + kTextGap, Rect);
}
