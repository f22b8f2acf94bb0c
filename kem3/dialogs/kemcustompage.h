// The base of the preference pages a program builds itself: the dialog makes
// one per run, places its controls, asks how tall they are and lets it apply
// itself on OK and Apply. It names its parent control only by pointer, so
// the model that drives it builds without windows.
#pragma once

class TWinControl;

class TKemCustomDlgPage {
 public:
  virtual ~TKemCustomDlgPage() = default;
  int Param = 0;

  virtual void SetParam(int Value) { Param = Value; }
  // Places the controls on Parent from Top down.
  virtual void CreateControls(TWinControl* Parent, int Top) {
    (void)Parent;
    (void)Top;
  }
  virtual int GetHeight() { return 0; }
  // How far the page reaches above the position it is given.
  virtual int GetTopOffset() { return 0; }
  // Called just before the dialog frees the page.
  virtual void Close() {}
  // OK and Apply, after the generated rows were read back.
  virtual void Apply() {}
  virtual void UpdateLanguage() {}
  // Every field of a dialog page starts in one column. FieldColumn: where
  // this page's fields would start, from its parent's left edge: their usual
  // place, or further right where a caption and the gap after it need it.
  // SetFieldColumn: the column the dialog found for all its rows. After it
  // the page may be taller or shorter: GetHeight tells.
  virtual int FieldColumn() { return 0; }
  virtual void SetFieldColumn(int Column) { (void)Column; }
};
