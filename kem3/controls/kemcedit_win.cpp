// TKemColorEdit: its children laid out, the views painted and picked, the
// brightness drag, and the value kept in step with the spin edits, the
// preview and the list of named colours.
#include "kem3/controls/kemcedit_win.h"

#include <algorithm>

#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/framework/kemlantext.h"
#include "platform/extctrls_win.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace {

void FillHex(TCanvas* C, TPoint At, TColor Color) {
  std::array<TPoint, kHexOutline.size()> points;
  for (size_t i = 0; i < points.size(); ++i) points[i] = {At.X + kHexOutline[i].X, At.Y + kHexOutline[i].Y};
  C->Brush()->SetColor(Color);
  C->Pen()->SetColor(Color);
  C->Polygon(std::span<const TPoint>(points.data(), points.size()));
}

// The large grey cells: a hexagon standing in their 20 x 20 square.
void FillLargeHex(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetColor(Color);
  C->Pen()->SetColor(Color == clWhite ? clGray : Color);
  C->Polygon({{R.Left, R.Top + 5},
              {R.Left + 9, R.Top},
              {R.Left + 10, R.Top},
              {R.Left + 19, R.Top + 5},
              {R.Left + 19, R.Top + 14},
              {R.Left + 10, R.Top + 19},
              {R.Left + 9, R.Top + 19},
              {R.Left, R.Top + 14}});
}

WideString ColorName(const String& TextName) { return LanguageText(LanguageTextIndex(TextName), Utf8ToWide(TextName)); }

}  // namespace

// ---- Views ------------------------------------------------------------------------

TKemColorView::TKemColorView(TKemColorEdit* Picker, int Width, int Height) : TCustomControl(Picker), FPicker(Picker) {
  SetControlStyle({csOpaque});
  SetParent(Picker);
  SetBounds(0, 0, Width, Height);
}

void TKemColorView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  TColor color = 0;
  if (Button == mbLeft && Pick(X, Y, color)) FPicker->SetValue(color);
}

TKemColorGrid::TKemColorGrid(TKemColorEdit* Picker) : TKemColorView(Picker, 155, 95) {}

void TKemColorGrid::SetColors(std::vector<TColor> Colors) {
  FColors = std::move(Colors);
  SetHeight(GridHeight(static_cast<int>(FColors.size())));
  Invalidate();
}

void TKemColorGrid::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(FPicker->Color());
  c->FillRect(ClientRect());
  c->Pen()->SetColor(clBlack);
  for (size_t i = 0; i < FColors.size(); ++i) {
    c->Brush()->SetColor(FColors[i]);
    c->Rectangle(GridCellRect(static_cast<int>(i)));
  }
}

bool TKemColorGrid::Pick(int X, int Y, TColor& Color) {
  const int i = GridHit(X, Y, static_cast<int>(FColors.size()));
  if (i < 0) return false;
  Color = FColors[i];
  return true;
}

TKemHoneycomb::TKemHoneycomb(TKemColorEdit* Picker, int Rings)
    : TKemColorView(Picker, HoneycombSize(Rings).cx, HoneycombSize(Rings).cy), FRings(std::max(Rings, 1)) {
  SetCentre({1, 1, 1});
}

void TKemHoneycomb::SetCentre(const TFloatColor& Centre) {
  FCells = HoneycombCells(FRings, Centre);
  Invalidate();
}

void TKemHoneycomb::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(FPicker->Color());
  c->FillRect(ClientRect());
  for (const THexCell& cell : FCells) FillHex(c, cell.At, cell.Color);
}

bool TKemHoneycomb::Pick(int X, int Y, TColor& Color) {
  const int i = HexCellHit(FCells, X, Y);
  if (i < 0) return false;
  Color = FCells[i].Color;
  return true;
}

TKemBrightness::TKemBrightness(TKemColorEdit* Picker, TKemHoneycomb* Honeycomb, int Height)
    : TCustomControl(Picker), FPicker(Picker), FHoneycomb(Honeycomb) {
  SetControlStyle({csOpaque, csCaptureMouse});
  SetParent(Picker);
  SetBounds(0, 0, 18, Height);
}

void TKemBrightness::SetPosition(int Value) {
  const int v = std::clamp(Value, 0, std::max(Height() - 1, 0));
  if (v == FPosition) return;
  FPosition = v;
  FHoneycomb->SetCentre(BrightnessCentre(v, Height()));
  Invalidate();
}

void TKemBrightness::Paint() {
  TCanvas* c = Canvas();
  const int H = Height();
  for (int y = 0; y < H; ++y) {
    const int g = BrightnessGrey(y, H);
    c->Brush()->SetColor(RGBColor(g, g, g));
    c->FillRect(Rect(0, y, 11, y + 1));
  }
  c->Brush()->SetColor(FPicker->Color());
  c->FillRect(Rect(11, 0, Width(), H));
  // The pointer: a black wedge pointing at the strip.
  c->Brush()->SetColor(clBlack);
  c->Pen()->SetColor(clBlack);
  c->Polygon({{11, FPosition}, {17, FPosition - 3}, {17, FPosition + 3}});
}

void TKemBrightness::WndProc(TMessage& Message) {
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TCustomControl::WndProc(m); })) FDragging = false;
}

void TKemBrightness::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FDragging = true;
  SetPosition(Y);
}

void TKemBrightness::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragging) SetPosition(Y);
}

void TKemBrightness::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FDragging = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKemBrightness::EnabledChanged() {
  TCustomControl::EnabledChanged();
  if (!Enabled()) {
    if (MouseCapture()) SetMouseCapture(false);
    FDragging = false;
  }
}

TKemGreyRow::TKemGreyRow(TKemColorEdit* Picker) : TKemColorView(Picker, 155, 20), FCells(GreyCells()) {}

void TKemGreyRow::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(FPicker->Color());
  c->FillRect(ClientRect());
  for (const TGreyCell& cell : FCells) {
    if (cell.Large)
      FillLargeHex(c, cell.Bounds, cell.Color);
    else
      FillHex(c, {cell.Bounds.Left, cell.Bounds.Top}, cell.Color);
  }
}

bool TKemGreyRow::Pick(int X, int Y, TColor& Color) {
  const int i = GreyCellHit(FCells, X, Y);
  if (i < 0) return false;
  Color = FCells[i].Color;
  return true;
}

// ---- The picker -------------------------------------------------------------------

TKemColorEdit::TKemColorEdit(TComponent* AOwner, int Rings) : TKemCustomControl(AOwner) {
  SetBounds(0, 0, 96, 240);
  FPreview = new TKemPanel(this);
  FPreview->SetParent(this);
  FPreview->SetBounds(0, 0, 65, 69);
  FPreview->SetBevelOuter(bvLowered);
  static const char16_t* const kChannels[3] = {u"R", u"G", u"B"};
  for (int i = 0; i < 3; ++i) {
    FLabels[i] = new TKemLabel(this);
    FLabels[i]->SetParent(this);
    FLabels[i]->SetCaption(kChannels[i]);
    FLabels[i]->SetBounds(69, 4 + 24 * i, FLabels[i]->Width(), FLabels[i]->Height());
    FChannels[i] = new TKemSpinEdit(this);
    FChannels[i]->SetParent(this);
    FChannels[i]->SetBounds(85, 24 * i, 70, 21);
    FChannels[i]->SetMinValue(0);
    FChannels[i]->SetMaxValue(255);
    FChannels[i]->OnChange = [this](TObject*) { ChannelChanged(); };
  }
  FGrid = new TKemColorGrid(this);
  FGrid->SetColors(std::vector<TColor>(kPickerGridColors.begin(), kPickerGridColors.end()));
  FGrid->SetTop(80);
  const int gridBottom = FGrid->Top() + FGrid->Height();
  FSeparator = new TPanel(this);
  FSeparator->SetParent(this);
  FSeparator->SetBevelOuter(bvLowered);
  FSeparator->SetBounds(0, gridBottom + 11, FGrid->Width(), 2);
  FHoneycomb = new TKemHoneycomb(this, Rings);
  FHoneycomb->SetTop(gridBottom + 24);
  FBrightness = new TKemBrightness(this, FHoneycomb, FHoneycomb->Height());
  FBrightness->SetBounds(FHoneycomb->Width() + 17, FHoneycomb->Top(), 18, FHoneycomb->Height());
  FGreys = new TKemGreyRow(this);
  FGreys->SetTop(FHoneycomb->Top() + FHoneycomb->Height() + 8);
  // As big as what it holds.
  SetBounds(Left(), Top(), std::max(FGrid->Width(), FBrightness->Left() + FBrightness->Width()),
            FGreys->Top() + FGreys->Height());
  SetValue(FModel.Value());
}

void TKemColorEdit::SetValue(TColor Value) {
  FModel.SetApplying(true);
  FModel.SetValue(Value);
  const TColor rgb = ColorToRGB(Value);
  const int channels[3] = {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                           static_cast<int>((rgb >> 16) & 0xFF)};
  for (int i = 0; i < 3; ++i) FChannels[i]->SetValue(channels[i]);
  FPreview->SetColor(Value);
  if (FList && FModel.Selected() >= 0 && FModel.Selected() < FList->Items()->Count()) {
    RECT r{};
    if (SendMessageW(FList->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(FModel.Selected()),
                     reinterpret_cast<LPARAM>(&r)) != LB_ERR) {
      ::InvalidateRect(FList->Handle(), &r, FALSE);
      ::UpdateWindow(FList->Handle());
    }
  }
  FModel.SetApplying(false);
}

void TKemColorEdit::ChannelChanged() {
  if (!FModel.ChannelsChanged(FChannels[0]->Value(), FChannels[1]->Value(), FChannels[2]->Value())) return;
  SetValue(FModel.Value());
}

void TKemColorEdit::SetSelected(int Index) {
  if (!FModel.SetSelected(Index)) return;
  SetValue(FModel.Value());
  if (FList) FList->SetItemIndex(Index);
}

int TKemColorEdit::AddColor(TColor Color, const String& TextName) {
  const bool first = FModel.Selected() < 0;
  const int index = FModel.AddColor(Color, TextName);
  if (FList) FList->Items()->Add(ColorName(TextName));
  if (first) SetSelected(FModel.Selected());
  return index;
}

void TKemColorEdit::SetList(TKemListBox* Value) {
  if (FList == Value) return;
  if (FList) FList->RemoveFreeNotification(this);
  FList = Value;
  if (!FList) return;
  FList->FreeNotification(this);
  FList->SetStyle(lbOwnerDrawFixed);
  FList->SetItemHeight(19);
  FList->OnClick = [this](TObject*) { SetSelected(FList->ItemIndex()); };
  FList->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
    DrawListItem(Index, Rect);
  };
  UpdateLanguage();
}

void TKemColorEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TKemCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FList) FList = nullptr;
}

void TKemColorEdit::UpdateLanguage() {
  TKemCustomControl::UpdateLanguage();
  FillList();
}

void TKemColorEdit::FillList() {
  if (!FList) return;
  {
    TUpdateScope update(*FList->Items());
    FList->Items()->Clear();
    for (int i = 0; i < FModel.Count(); ++i) FList->Items()->Add(ColorName(FModel.TextName(i)));
  }
  FList->SetItemIndex(FModel.Selected());
}

void TKemColorEdit::DrawListItem(int Index, const TRect& Rect) {
  TCanvas* c = FList->Canvas();
  c->FillRect(Rect);
  if (Index < 0 || Index >= FModel.Count()) return;
  TRect text = ::Rect(Rect.Left + 32, Rect.Top, Rect.Right, Rect.Bottom);
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  LibDrawText(dc, FList->Items()->Get(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  c->Brush()->SetColor(FModel.Color(Index));
  c->FillRect(::Rect(Rect.Left + 4, Rect.Top + 4, Rect.Left + 24, Rect.Bottom - 4));
}
