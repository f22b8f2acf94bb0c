// The preferences dialog's model: pages declared by the program, each a list
// of items (generated rows of a settings page, the language and skin
// selectors, or a page of the program's own). The model outlives every run of
// the dialog; the dialog itself (kemcfgex_win.h) is built fresh by Execute.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/object.h"
#include "platform/types.h"

class TKemCustomDlgPage;
class TKemPanel;

// Makes a page of the program's own; called each time the dialog is built.
using TKemCustomPageFactory = std::function<std::unique_ptr<TKemCustomDlgPage>()>;

enum TKemConfigItemKind : std::uint8_t {
  kciPart = 1,
  kciLanguage = 2,
  kciSkin = 3,
  kciCustomPage = 6,
};

// The caption bar above every page's items.
inline constexpr int KemConfigHeaderHeight = 24;

class TKemConfigDlgItem : public TObject {
 public:
  explicit TKemConfigDlgItem(std::uint8_t Kind) : Kind(Kind) {}
  std::uint8_t Kind;
};

// The generated controls of one settings page.
class TKemConfigItemPart : public TKemConfigDlgItem {
 public:
  TKemConfigItemPart(int PageId, int Top, int Columns, int LeftPercent, int WidthPercent)
      : TKemConfigDlgItem(kciPart),
        PageId(PageId),
        Top(Top),
        Columns(Columns),
        LeftPercent(LeftPercent),
        WidthPercent(WidthPercent) {}
  int PageId;
  int Top;  // given top + the caption bar
  int Columns, LeftPercent, WidthPercent;
};

class TKemConfigItemLan : public TKemConfigDlgItem {
 public:
  explicit TKemConfigItemLan(int LabelPercent) : TKemConfigDlgItem(kciLanguage), LabelPercent(LabelPercent) {}
  int Top = 32;
  int LabelPercent;
};

class TKemConfigItemSkin : public TKemConfigDlgItem {
 public:
  explicit TKemConfigItemSkin(int LabelPercent) : TKemConfigDlgItem(kciSkin), LabelPercent(LabelPercent) {}
  int Top = 32;
  int LabelPercent;
};

class TKemConfigItemCustomPage : public TKemConfigDlgItem {
 public:
  TKemConfigItemCustomPage(TKemCustomPageFactory PageClass, int Param)
      : TKemConfigDlgItem(kciCustomPage), PageClass(std::move(PageClass)), Param(Param) {}
  int Top = 32;
  TKemCustomPageFactory PageClass;
  TKemCustomDlgPage* Instance = nullptr;  // owned by the running dialog; null outside it
  int Param;
};

// One tree node and one notebook page.
class TKemConfigDlgPage : public TObject {
 public:
  explicit TKemConfigDlgPage(int CaptionIndex) : CaptionIndex(CaptionIndex) {}
  std::vector<std::unique_ptr<TKemConfigDlgItem>> Items;
  WideString Caption;
  int CaptionIndex;
  int NotebookIndex = -1;
  TKemPanel* Header = nullptr;  // owned by its notebook page while the dialog runs

  void AddPart(int PageId, int Top, int Columns, int LeftPercent, int WidthPercent);
  void AddLanguageSelector(int LabelPercent);
  void AddSkinSelector(int LabelPercent);
  void AddCustomPage(TKemCustomPageFactory PageClass, int Param);
  // The caption, read again from the language when CaptionIndex is 0 or more.
  const WideString& GetCaption();
};

class TKemConfigDlg : public TObject {
 public:
  explicit TKemConfigDlg(const String& Name = String()) : Name(Name) {}
  std::vector<std::unique_ptr<TKemConfigDlgPage>> Pages;
  String Name;  // the dialog form's name; empty means "TdPreferences"
  int RunningPage = 0;

  TKemConfigDlgPage* AddPage(int CaptionIndex);
  // Builds, shows modally and tears the dialog down (Windows only).
  void Execute();
};
