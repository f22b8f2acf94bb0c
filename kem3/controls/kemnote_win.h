// TKemNotebook: a container of stacked pages (TKemNote) of which one shows,
// without tabs of its own. The preferences dialog shows one generated page
// at a time in it; the file browser switches its panes with it.
#pragma once
#include <vector>

#include "kem3/controls/kemnote_model.h"
#include "platform/controls_win.h"

// One page: hidden until selected, filling the notebook, and transparent to
// the mouse where no control of its own lies (clicks go to what is under it).
class TKemNote : public TCustomControl {
 public:
  explicit TKemNote(TComponent* AOwner);
  // The page's name among the notebook's pages.
  const String& PageCaption() const { return FPageCaption; }
  void SetPageCaption(const String& Value) { FPageCaption = Value; }

 protected:
  void WndProc(TMessage& Message) override;

 private:
  String FPageCaption;
};

class TKemNotebook : public TCustomControl {
 public:
  // 150 x 150 with one page, "Default", showing.
  explicit TKemNotebook(TComponent* AOwner);
  ~TKemNotebook() override;

  int PageCount() const { return FPages.Count(); }
  TKemNote* GetPage(int Index) const { return FPages.Page(Index); }
  const String& PageCaption(int Index) const { return FPages.Page(Index)->PageCaption(); }
  void SetPageCaption(int Index, const String& Value) { FPages.Page(Index)->SetPageCaption(Value); }
  // A new page at Index (the notebook's size, owned by and placed on it),
  // which then shows.
  TKemNote* InsertPage(int Index, const String& Caption);
  TKemNote* AddPage(const String& Caption) { return InsertPage(PageCount(), Caption); }
  // Frees the page; page 0 shows (none when no page is left).
  void DeletePage(int Index);
  // Swaps two pages; the page now at PageIndex shows.
  void MovePage(int From, int To);
  // Frees every page; none shows.
  void ClearPages();
  // Captions overwrite the pages' in order; further lines add pages. No page is deleted.
  void SetPages(const std::vector<String>& Captions);

  // The page that shows; -1 for none. Setting an index outside the pages, or
  // the current one, changes nothing.
  int PageIndex() const { return FPages.PageIndex(); }
  void SetPageIndex(int Value);
  // The caption of the page that shows; setting an unknown caption changes nothing.
  String ActivePage() const;
  void SetActivePage(const String& Caption);
  // Shows Control's page when it is one of the pages.
  void ShowControl(TControl* Control);

  TNotifyEvent OnPageChanged;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Exactly the page at PageIndex shows.
  void ShowCurrent();

  TNotePages<TKemNote> FPages;
};
