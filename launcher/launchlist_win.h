// TdLaunchList: the small chooser that opens when one hotkey belongs to
// several icons.
#pragma once
#include <vector>

#include "platform/forms_win.h"

class TIconCache;
class TKemPanelList;
class TKemXmlTag;
class TVosFormSkinner;

class TdLaunchList : public TForm {
 public:
  explicit TdLaunchList(TComponent* AOwner);
  ~TdLaunchList() override;

  TKemPanelList* plLaunch = nullptr;
  // The skin's "list" window around the list; nil when the skin has none.
  TVosFormSkinner* Skinner() const { return FSkinner; }

  // One row per icon: its title beside its picture from Cache (none without a cache).
  void Fill(const std::vector<TKemXmlTag*>& Icons, TIconCache* Cache);
  // The icon of the selected row.
  TKemXmlTag* Selected() const;

 private:
  void CreateSkinner();
  void FormShow();
  void FormHide();
  void FormKeyDown(std::uint16_t& Key);
  void HandleHookMessage(TMessage& Message);
  // Sizes the list for Rows rows and the window around it.
  void FitRows(int Rows, int RowPitch);

  TVosFormSkinner* FSkinner = nullptr;  // owned as a component
  bool FHookInstalled = false;
};

// Shows the chooser for Icons (centred, the first row selected) and gives the
// chosen icon, or nullptr when the user cancelled.
TKemXmlTag* ChooseLaunchIcon(const std::vector<TKemXmlTag*>& Icons, TIconCache* Cache, TComponent* Owner);
