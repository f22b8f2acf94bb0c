// Walking a control tree for a language change and for dialog keys; form
// actions; wide text measuring and output.
#include "kem3/controls/kembase_win.h"

#include <algorithm>
#include <utility>

#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/unicode/ucgraphics_win.h"
#include "platform/accel.h"
#include "platform/geometry_win.h"

void UpdateChildLanguage(TWinControl* Parent) {
  if (!Parent) return;
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    TControl* Child = Parent->Controls(I);
    if (auto* K = dynamic_cast<IKemControl*>(Child))
      K->UpdateLanguage();
    else if (auto* P = dynamic_cast<TWinControl*>(Child))
      UpdateChildLanguage(P);
  }
}

namespace {

// Walks Root's children; Ask answers for a library control, plain windowed
// controls are walked into. A handler may free controls: the walk stops at the
// first taker and checks the count on each step.
template <class F>
bool Broadcast(TWinControl* Root, F&& Ask) {
  if (!Root) return false;
  for (int I = 0; I < Root->ControlCount(); ++I) {
    TControl* Child = Root->Controls(I);
    if (auto* K = dynamic_cast<IKemControl*>(Child)) {
      if (Ask(K)) return true;
    } else if (auto* W = dynamic_cast<TWinControl*>(Child)) {
      if (Broadcast(W, Ask)) return true;
    }
  }
  return false;
}

TFormActionFinder& ActionFinder() {
  static TFormActionFinder finder;
  return finder;
}

}  // namespace

bool BroadcastDialogKey(TWinControl* Root, std::uint16_t Key, TShiftState Shift) {
  return Broadcast(Root, [&](IKemControl* K) { return K->DialogKey(Key, Shift); });
}

bool BroadcastDialogChar(TWinControl* Root, WideChar Key, TShiftState Shift) {
  if (Broadcast(Root, [&](IKemControl* K) { return K->DialogChar(Key, Shift); })) return true;
  // Controls of the class layer (a label with its FocusControl) answer the message.
  return BroadcastDialogCharMessage(Root, Key, Shift);
}

bool SelectFirstChild(TWinControl* Parent) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    auto* W = dynamic_cast<TWinControl*>(Parent->Controls(I));
    if (!W) continue;
    if (W->TabStop() && W->CanFocus()) {
      W->SetFocus();
      return true;
    }
    if (W->Showing() && W->Enabled() && SelectFirstChild(W)) return true;
  }
  return false;
}

bool TKemCustomGroupBox::DialogChar(WideChar Key, TShiftState Shift) {
  if (IsAccel(Key, Caption()) && CanFocus() && SelectFirstChild(this)) return true;
  return BroadcastDialogChar(this, Key, Shift);
}

void SetFormActionFinder(TFormActionFinder Finder) { ActionFinder() = std::move(Finder); }

TBasicAction* FindFormAction(TCustomForm* Form, int Id) {
  const auto& finder = ActionFinder();
  return Form && finder ? finder(Form, Id) : nullptr;
}

int WideTextWidth(TCanvas* Canvas, const WideString& Text) { return WideCanvasTextWidth(Canvas, Text); }

int WideTextHeight(TCanvas* Canvas, const WideString& Text) { return WideCanvasTextHeight(Canvas, Text); }

TSize TCanvasTextMeasure::TextExtent(const WideString& Text) { return FCanvas->TextExtent(Text); }

TFontTextMeasure::TFontTextMeasure(const TFont& Font) : FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetSize(1, 1);
  FBitmap->Canvas()->SetFont(Font);
}

TFontTextMeasure::~TFontTextMeasure() = default;

TSize TFontTextMeasure::TextExtent(const WideString& Text) { return FBitmap->Canvas()->TextExtent(Text); }

int TFontTextMeasure::WidestText(const std::vector<WideString>& Texts) {
  int widest = 0;
  for (const WideString& text : Texts) widest = std::max(widest, TextExtent(text).cx);
  return widest;
}

int TFontTextMeasure::AverageCharWidth() {
  TEXTMETRICW metrics{};
  GetTextMetricsW(FBitmap->Canvas()->Handle(), &metrics);
  return std::max(static_cast<int>(metrics.tmAveCharWidth), 1);
}

int CaptionWidth(const TControl* Control, const WideString& Text) {
  return TFontTextMeasure(*Control->Font()).TextExtent(Text).cx;
}

int LibDrawText(HDC DC, const WideString& Text, TRect& Rect, UINT Format) {
  RECT r = ToRECT(Rect);
  const int height = DrawTextW(DC, WideCStr(Text), static_cast<int>(Text.size()), &r, Format);
  Rect = FromRECT(r);
  return height;
}

bool LibExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* Rect, const WideString& Text, const int* Dx) {
  RECT r{};
  if (Rect) r = ToRECT(*Rect);
  return ExtTextOutW(DC, X, Y, Options, Rect ? &r : nullptr, WideCStr(Text), static_cast<UINT>(Text.size()), Dx) !=
         FALSE;
}

LONG LibTabbedTextOut(HDC DC, int X, int Y, const WideString& Text, int TabCount, const int* TabPositions,
                      int TabOrigin) {
  return TabbedTextOutW(DC, X, Y, WideCStr(Text), static_cast<int>(Text.size()), TabCount, TabPositions, TabOrigin);
}

String ControlTextName(const TControl* Control, const String& LanId) {
  const TCustomForm* form = GetParentForm(Control);
  if (!form) return LanId;
  const auto* kemForm = dynamic_cast<const TKemForm*>(form);
  return (kemForm ? kemForm->GetFormName() : form->Name()) + "_" + LanId;
}

bool TControlLanText::Set(const TControl* Control, const String& Value) {
  if (FLanId == Value) return false;
  FLanId = Value;
  FIndex = LanguageTextIndex(ControlTextName(Control, Value));
  return true;
}

int TControlLanText::Index(const TControl* Control) {
  if (FIndex < -1) FIndex = LanguageTextIndex(ControlTextName(Control, FLanId));
  return FIndex;
}
