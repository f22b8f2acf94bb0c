// The group editor: one edit for the title, OK and Cancel.
#include "launcher/editgroup_win.h"

#include <memory>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil_win.h"
#include "launcher/editicon_win.h"
#include "platform/unicode_convert.h"

namespace {
constexpr int kWidth = 320, kHeight = 74;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 90, kButtonHeight = 25;
}  // namespace

TdEditGroup::TdEditGroup(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("dEditGroup");
  SetColor(clBtnFace);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(kWidth, kHeight);
  lTitle = new TKemLabel(this);
  lTitle->SetParent(this);
  lTitle->SetAutoSize(false);
  lTitle->SetColor(clBtnFace);
  lTitle->SetBounds(kMargin, kMargin + 4, 56, 15);
  eTitle = new TKemEdit(this);
  eTitle->SetParent(this);
  eTitle->SetBounds(68, kMargin, kWidth - kMargin - 68, 21);
  lTitle->SetFocusControl(eTitle);
  const int buttonsTop = kHeight - kMargin - kButtonHeight;
  bOk = new TKemButton(this);
  bOk->SetParent(this);
  bOk->SetBounds(kWidth - kMargin - 2 * kButtonWidth - 6, buttonsTop, kButtonWidth, kButtonHeight);
  bOk->SetActionType(atOk);
  bCancel = new TKemButton(this);
  bCancel->SetParent(this);
  bCancel->SetBounds(kWidth - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);
  bCancel->SetActionType(atCancel);
  OnShow = [this](TObject*) {
    ForceForegroundWindow(Handle());
    eTitle->SetFocus();
    eTitle->Editor()->SelectAll();
  };
}

void TdEditGroup::LanguageUpdated() { lTitle->SetCaption(Translate("Title", u"Title")); }

bool EditGroup(TKemXmlTag& Group) {
  std::unique_ptr<TdEditGroup, TFreeObject> dialog(NewForm<TdEditGroup>(nullptr));
  dialog->eTitle->SetText(Utf8ToWide(Group.ReadAttr("title")));
  if (dialog->ShowModal() != mrOk) return false;
  Group.WriteAttr("title", WideToUtf8(dialog->eTitle->Text()));
  return true;
}
