// TKemGroup: its language text and frame offset.
#include "kem3/controls/kemgroup_win.h"

#include "kem3/controls/kemlantext.h"

TKemGroup::TKemGroup(TComponent* AOwner) : TKemCustomGroupBox(AOwner) {}

void TKemGroup::SetLanId(const String& Value) {
  if (FLanId == Value) return;
  FLanId = Value;
  FTextIndex = LanguageTextIndex(ControlTextName(this, Value));
}

void TKemGroup::SetOffsetVert(int Value) {
  if (FOffsetVert == Value) return;
  FOffsetVert = Value;
  Invalidate();
}

void TKemGroup::UpdateLanguage() {
  // Looked up before a language was loaded: look again now.
  if (FTextIndex < -1) FTextIndex = LanguageTextIndex(ControlTextName(this, FLanId));
  if (FTextIndex >= 0) SetCaption(LanguageText(FTextIndex, Caption()));
  TKemCustomGroupBox::UpdateLanguage();
}
