// TKemGroup: its language text and frame offset.
#include "kem3/controls/kemgroup_win.h"

#include "kem3/framework/kemlantext.h"
#include "platform/setprop.h"

TKemGroup::TKemGroup(TComponent* AOwner) : TKemCustomGroupBox(AOwner) {}

void TKemGroup::SetLanId(const String& Value) { FLanText.Set(this, Value); }

void TKemGroup::SetOffsetVert(int Value) { SetPainted(*this, FOffsetVert, Value); }

void TKemGroup::UpdateLanguage() {
  const int index = FLanText.Index(this);
  if (index >= 0) SetCaption(LanguageText(index, Caption()));
  TKemCustomGroupBox::UpdateLanguage();
}
