// TKemColorEdit: the colour picker: a preview, R, G, B spin edits, a grid of
// fixed colours, a honeycomb with a brightness slider and a row of greys,
// optionally tied to a list box of named colours it keeps in step.
#pragma once
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemcedit_model.h"
#include "kem3/controls/kempress_win.h"

class TKemColorEdit;
class TKemLabel;
class TKemListBox;
class TKemPanel;
class TKemSpinEdit;
class TPanel;

// What every view of the picker shares: a press picks a colour for the picker.
class TKemColorView : public TCustomControl {
 public:
  TKemColorView(TKemColorEdit* Picker, int Width, int Height);

 protected:
  // The colour under (X, Y), or false.
  virtual bool Pick(int X, int Y, TColor& Color) = 0;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  TKemColorEdit* FPicker;
};

class TKemColorGrid : public TKemColorView {
 public:
  explicit TKemColorGrid(TKemColorEdit* Picker);
  // The colours, 8 a row; the height follows them.
  void SetColors(std::vector<TColor> Colors);

 protected:
  void Paint() override;
  bool Pick(int X, int Y, TColor& Color) override;

 private:
  std::vector<TColor> FColors;
};

class TKemHoneycomb : public TKemColorView {
 public:
  TKemHoneycomb(TKemColorEdit* Picker, int Rings);
  void SetCentre(const TFloatColor& Centre);
  const std::vector<THexCell>& Cells() const { return FCells; }

 protected:
  void Paint() override;
  bool Pick(int X, int Y, TColor& Color) override;

 private:
  int FRings;
  std::vector<THexCell> FCells;
};

// The brightness strip: a drag sets the honeycomb's centre grey.
class TKemBrightness : public TCustomControl {
 public:
  TKemBrightness(TKemColorEdit* Picker, TKemHoneycomb* Honeycomb, int Height);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  bool Dragging() const { return FDragging; }

 protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EnabledChanged() override;

 private:
  TKemColorEdit* FPicker;
  TKemHoneycomb* FHoneycomb;
  int FPosition = 0;
  bool FDragging = false;
  TCaptureWatch FCaptureWatch;
};

class TKemGreyRow : public TKemColorView {
 public:
  explicit TKemGreyRow(TKemColorEdit* Picker);

 protected:
  void Paint() override;
  bool Pick(int X, int Y, TColor& Color) override;

 private:
  std::vector<TGreyCell> FCells;
};

class TKemColorEdit : public TKemCustomControl {
 public:
  explicit TKemColorEdit(TComponent* AOwner, int Rings = 8);

  TColor Value() const { return FModel.Value(); }
  // Into the spin edits and the preview; the selected named colour takes it.
  void SetValue(TColor Value);
  int Selected() const { return FModel.Selected(); }
  // Ignored outside the named colours.
  void SetSelected(int Index);
  // The list box of named colours, owner-drawn with a swatch before each name.
  TKemListBox* List() const { return FList; }
  void SetList(TKemListBox* Value);
  // Appends a named colour (a language text name); returns its index.
  int AddColor(TColor Color, const String& TextName);
  TColor GetColor(int Index) const { return FModel.Color(Index); }
  void UpdateLanguage() override;

  TKemPanel* Preview() const { return FPreview; }
  TKemSpinEdit* Channel(int Index) const { return FChannels[Index]; }
  TKemColorGrid* Grid() const { return FGrid; }
  TKemHoneycomb* Honeycomb() const { return FHoneycomb; }
  TKemBrightness* Brightness() const { return FBrightness; }
  TKemGreyRow* Greys() const { return FGreys; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ChannelChanged();
  void FillList();
  void DrawListItem(int Index, const TRect& Rect);

  TColorPickerModel FModel;
  TKemListBox* FList = nullptr;
  TKemPanel* FPreview = nullptr;  // children, owned as components
  TKemLabel* FLabels[3] = {};
  TKemSpinEdit* FChannels[3] = {};
  TKemColorGrid* FGrid = nullptr;
  TPanel* FSeparator = nullptr;
  TKemHoneycomb* FHoneycomb = nullptr;
  TKemBrightness* FBrightness = nullptr;
  TKemGreyRow* FGreys = nullptr;
};
