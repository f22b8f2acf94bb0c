// TdLaunchList: the small chooser that opens when one hotkey belongs to
// several icons.
#pragma once
#include <vector>

#include "platform/forms_win.h"

class TKemPanelList;
class TKemXmlTag;

class TdLaunchList : public TForm {
 public:
  explicit TdLaunchList(TComponent* AOwner);
  ~TdLaunchList() override;

  TKemPanelList* plLaunch = nullptr;

  void Fill(const std::vector<TKemXmlTag*>& Icons);
  // The icon of the selected row.
  TKemXmlTag* Selected() const;

 private:
  void FormShow();
  void FormHide();
  void FormKeyDown(std::uint16_t& Key);
  void HandleHookMessage(TMessage& Message);

  bool FHookInstalled = false;
};

// Shows the chooser for Icons (centred, the first row selected) and gives the
// chosen icon, or nullptr when the user cancelled.
TKemXmlTag* ChooseLaunchIcon(const std::vector<TKemXmlTag*>& Icons, TComponent* Owner);
