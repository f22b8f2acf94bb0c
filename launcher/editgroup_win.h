// TdEditGroup: the modal dialog that edits a group's title.
#pragma once
#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemxml.h"

class TKemButton;
class TKemEdit;
class TKemLabel;

class TdEditGroup : public TKemForm {
 public:
  explicit TdEditGroup(TComponent* AOwner);
  TKemLabel* lTitle = nullptr;
  TKemEdit* eTitle = nullptr;
  TKemButton *bOk = nullptr, *bCancel = nullptr;
  void LanguageUpdated() override;
};

// Shows the group editor on the group's "title"; when confirmed writes the
// edit's text into "title" and returns true.
bool EditGroup(TKemXmlTag& Group);
