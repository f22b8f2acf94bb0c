// The icon editor: its controls, its program and shortcut rows, the browse
// buttons and the previews of the icon file.
#include "launcher/editicon_win.h"

#include <algorithm>
#include <utility>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/dialogs/kemcfgrows_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/pictures/kemimage_win.h"
#include "launcher/ov3browse.h"
#include "launcher/ov3hotkeytext.h"
#include "launcher/ov3text.h"
#include "platform/application_win.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kWidth = 529, kHeight = 411;
constexpr int kMargin = 8;
// The labels' column and the controls' column.
constexpr int kLabelWidth = 82;
constexpr int kFieldLeft = 92;
constexpr int kFieldWidth = kWidth - kMargin - kFieldLeft;
constexpr int kRowPitch = 25;
constexpr int kButtonWidth = 90, kButtonHeight = 25;
constexpr int kProgramPageHeight = 72, kBatchPageHeight = 128;
constexpr int kIconListHeight = 98;
constexpr TColor kFrameFill = 0xE0E0E0;
constexpr int kRowSpace = 4;  // the panel's inner space around the frame
constexpr int kProgramRowHeight = 2 * kRowSpace + 33;
constexpr int kShortcutRowHeight = 2 * kRowSpace + 57;
constexpr int kDeleteSize = 16;

TKemLabel* PlaceLabel(TWinControl* Parent, int Left, int Top) {
  auto* label = Place<TKemLabel>(Parent, Left, Top + 4, kLabelWidth, 15);
  label->SetAutoSize(false);
  label->SetColor(clBtnFace);
  return label;
}

void SetLabel(TKemLabel* Label, const char* Name, const char16_t* Default) {
  Label->SetCaption(Translate(Name, Default));
}

void FillList(TKemDropDownList* List, const std::vector<WideString>& Items, int Index) {
  List->Items()->Clear();
  for (const WideString& item : Items) List->Items()->Add(item);
  List->SetItemIndex(Index >= 0 && Index < static_cast<int>(Items.size()) ? Index : -1);
}

TKemDropDownList* PlaceList(TWinControl* Parent, int Left, int Top, int Width) {
  auto* list = Place<TKemDropDownList>(Parent, Left, Top, Width, 21);
  list->SetFlat(true);
  list->SetTabStop(true);
  return list;
}

std::vector<WideString> KeyDisplayNames() {
  std::vector<WideString> names;
  for (const TOvKeyName& key : KeyNames()) names.push_back(Utf8ToWide(key.DisplayName));
  return names;
}

// Rows leave room for the scroll bar, which shows once they reach below the box.
int RowWidth(TScrollBox& Box) { return Box.Width() - 2 * GetSystemMetrics(SM_CXEDGE) - GetSystemMetrics(SM_CXVSCROLL); }

// The icon file as the loaders need it: relative names lie in the program folder.
String AbsoluteIconFile(const WideString& Text) { return ExpandRelativePath(WideToUtf8(Text), GetExeDir()); }

}  // namespace

// ---- Rows -----------------------------------------------------------------------------

TOvEditRow::TOvEditRow(TScrollBox& Box, int Height) {
  Panel = Place<TKemPanel>(&Box, 0, 0, RowWidth(Box), Height);
  Panel->SetBevelOuter(bvNone);
  Panel->SetColor(Box.Color());
  Panel->SetSpaceLeft(kRowSpace);
  Panel->SetSpaceTop(kRowSpace);
  Panel->SetSpaceRight(kRowSpace);
  Panel->SetSpaceBottom(kRowSpace);
  Frame = new TKemFrame(Panel);
  Frame->SetParent(Panel);
  Frame->SetAlign(alClient);
  Frame->SetColor(Box.Color());
  Frame->SetBorderWidth(0);
  TBitmap image;
  LoadBitmapResource(image, "PANEFRAME", nullptr);
  if (!image.Empty()) Frame->SetImage(image);
  Frame->SetSizes(TFrameSizes{6, 6, 6, 6});
  Frame->SetFillColor(kFrameFill);
}

void TOvEditRow::AddDeleteButton(TdEditIcon& Dialog, unsigned DeleteMessage, int Left) {
  DeleteButton = Place<TKemButton>(Frame, Left, 8, kDeleteSize, kDeleteSize);
  DeleteButton->SetFlat(true);
  DeleteButton->SetColor(kFrameFill);
  TBitmap glyph;
  LoadBitmapResource(glyph, "BUTTONCLOSE", nullptr);
  if (glyph.Empty())
    DeleteButton->SetCaption(u"x");
  else
    DeleteButton->SetGlyph(glyph);
  // The row goes once the click has returned: the button is one of its controls.
  DeleteButton->OnClick = [&Dialog, this, DeleteMessage](TObject*) {
    PostMessageW(Dialog.Handle(), DeleteMessage, 0, reinterpret_cast<LPARAM>(static_cast<TObject*>(this)));
  };
}

TOvEditRow::~TOvEditRow() { FreeAndNil(Panel); }

TProgramBlock::TProgramBlock(TdEditIcon& Dialog, TScrollBox& Box, const TOvProgramIcons& Programs,
                             const TOvBatchRow& Row)
    : TOvEditRow(Box, kProgramRowHeight), FProgramCount(static_cast<int>(Programs.Texts.size())), FOwnId(Row.OwnId) {
  List = PlaceList(Frame, 6, 6, 362);
  std::vector<WideString> texts;
  for (const String& text : Programs.Texts) texts.push_back(Utf8ToWide(text));
  // An id no program icon has stays the row's own entry, behind the others.
  if (!FOwnId.empty()) texts.push_back(Utf8ToWide(UnmatchedIdText(FOwnId)));
  FillList(List, texts, !FOwnId.empty() && Row.Entry < 0 ? FProgramCount : Row.Entry);
  AddDeleteButton(Dialog, kDeleteProgramRow, 6 + 362 + 6);
}

TOvBatchRow TProgramBlock::Row() const {
  TOvBatchRow row;
  const int index = List->ItemIndex();
  if (index >= 0 && index < FProgramCount)
    row.Entry = index;
  else if (index == FProgramCount)
    row.OwnId = FOwnId;
  return row;
}

THotkeyBlock::THotkeyBlock(TdEditIcon& Dialog, TScrollBox& Box, const TOvHotkey& Hotkey)
    : TOvEditRow(Box, kShortcutRowHeight), FHotkey(Hotkey) {
  lKey = Place<TKemLabel>(Frame, 6, 10, 52, 15);
  lKey->SetAutoSize(false);
  lKey->SetColor(kFrameFill);
  Key = PlaceList(Frame, 60, 6, 336);
  FillList(Key, KeyDisplayNames(), Hotkey.KeyIndex);
  lKey->SetFocusControl(Key);
  // Tab goes along the rows as they read: the key, the button beside it, then the modifiers.
  AddDeleteButton(Dialog, kDeleteShortcutRow, 60 + 336 + 6);
  lModifiers = Place<TKemLabel>(Frame, 6, 34, 52, 15);
  lModifiers->SetAutoSize(false);
  lModifiers->SetColor(kFrameFill);
  const TOvModSide sides[] = {Hotkey.Ctrl, Hotkey.Alt, Hotkey.Shift, Hotkey.Windows};
  for (size_t i = 0; i < Modifiers.size(); ++i) {
    Modifiers[i] = PlaceList(Frame, 60 + 85 * static_cast<int>(i), 30, 81);
    FillList(Modifiers[i], ModifierChoices(i), sides[i]);
  }
  UpdateLanguage();
}

void THotkeyBlock::UpdateLanguage() {
  SetLabel(lKey, "Key", u"Key");
  SetLabel(lModifiers, "Modifiers", u"Modifiers");
  for (size_t i = 0; i < Modifiers.size(); ++i) FillList(Modifiers[i], ModifierChoices(i), Modifiers[i]->ItemIndex());
  Arrange();
}

void THotkeyBlock::Arrange() {
  // The labels' column as wide as its texts need in the language shown; the
  // modifier lists share the rest, in as many lines as their longest text needs.
  const int labels =
      std::max({52, CaptionWidth(lKey, lKey->Caption()) + 2, CaptionWidth(lModifiers, lModifiers->Caption()) + 2});
  lKey->SetWidth(labels);
  lModifiers->SetWidth(labels);
  const int left = 6 + labels + 2;
  const int right = Panel->Width() - 2 * kRowSpace - 6;
  Key->SetBounds(left, 6, right - kDeleteSize - 6 - left, 21);
  DeleteButton->SetLeft(right - kDeleteSize);
  Lines = cfgFlowListControls(std::vector<TKemDropDownList*>(Modifiers.begin(), Modifiers.end()), left, right, 30);
}

TOvHotkey THotkeyBlock::Hotkey() const {
  TOvHotkey key = FHotkey;
  key.KeyIndex = Key->ItemIndex();
  const auto side = [this](size_t i) { return static_cast<TOvModSide>(std::clamp(Modifiers[i]->ItemIndex(), 0, 3)); };
  key.Ctrl = side(0);
  key.Alt = side(1);
  key.Shift = side(2);
  key.Windows = side(3);
  return key;
}

// ---- TdEditIcon ----------------------------------------------------------------------

TdEditIcon::TdEditIcon(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("dEditIcon");
  SetColor(clBtnFace);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(kWidth, kHeight);

  lTitle = PlaceLabel(this, kMargin, kMargin);
  eTitle = Place<TKemEdit>(this, kFieldLeft, kMargin, kFieldWidth, 21);
  lTitle->SetFocusControl(eTitle);
  lComment = PlaceLabel(this, kMargin, kMargin + kRowPitch);
  eComment = Place<TKemEdit>(this, kFieldLeft, kMargin + kRowPitch, kFieldWidth, 21);
  lComment->SetFocusControl(eComment);

  nb = Place<TKemNotebook>(this, kMargin, kMargin + 2 * kRowPitch, kWidth - 2 * kMargin, kProgramPageHeight);
  nb->SetPages({"Program", "Batch"});
  for (int i = 0; i < nb->PageCount(); ++i) nb->GetPage(i)->SetColor(clBtnFace);
  TKemNote* program = nb->GetPage(0);
  constexpr int pageField = kFieldLeft - kMargin;
  lProgram = PlaceLabel(program, 0, 0);
  eFilename = Place<TKemEdit>(program, pageField, 0, kFieldWidth, 21);
  eFilename->AddButton(1, "...");
  lProgram->SetFocusControl(eFilename);
  lParams = PlaceLabel(program, 0, 24);
  eParams = Place<TKemEdit>(program, pageField, 24, kFieldWidth, 21);
  lParams->SetFocusControl(eParams);
  lFolder = PlaceLabel(program, 0, 48);
  eFolder = Place<TKemEdit>(program, pageField, 48, kFieldWidth, 21);
  lFolder->SetFocusControl(eFolder);
  TKemNote* batch = nb->GetPage(1);
  lPrograms = PlaceLabel(batch, 0, 0);
  sbPrograms = Place<TScrollBox>(batch, pageField, 0, kFieldWidth, kBatchPageHeight - kButtonHeight - 6);
  sbPrograms->SetColor(clWindow);
  bAddProgram = Place<TKemButton>(batch, pageField + kFieldWidth - kButtonWidth, kBatchPageHeight - kButtonHeight,
                                  kButtonWidth, kButtonHeight);
  bAddProgram->SetActionType(atBrowse);
  nb->SetPageIndex(0);

  lIcon = PlaceLabel(this, kMargin, 0);
  eIcon = Place<TKemEdit>(this, kFieldLeft, 0, kFieldWidth, 21);
  eIcon->AddButton(1, "...");
  lIcon->SetFocusControl(eIcon);
  plIcon = Place<TKemPanelList>(this, kFieldLeft, 0, kFieldWidth, kIconListHeight);
  plIcon->SetStyle(plsListview);
  plIcon->SetOptions(TKemPanelListOptions{ploDisallowNoSelection, ploBitmapOwner});
  plIcon->SetItemWidth(80);
  plIcon->SetItemHeight(80);

  lShortcuts = PlaceLabel(this, kMargin, 0);
  sbShortcuts = Place<TScrollBox>(this, kMargin, 0, kWidth - 2 * kMargin, 60);
  sbShortcuts->SetColor(clWindow);

  const int buttonsTop = kHeight - kMargin - kButtonHeight;
  bAddShortcut = Place<TKemButton>(this, kMargin, buttonsTop, kButtonWidth, kButtonHeight);
  bAddShortcut->SetActionType(atAdd);
  bOk = Place<TKemButton>(this, kWidth - kMargin - 2 * kButtonWidth - 6, buttonsTop, kButtonWidth, kButtonHeight);
  bOk->SetActionType(atOk);
  bCancel = Place<TKemButton>(this, kWidth - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);
  bCancel->SetActionType(atCancel);

  OnActionExecute = [this](TKemAction* Action) {
    if (Action->Id() == 12) AddProgramRow();
    if (Action->Id() == 14) AddShortcutRow(ParseHotkeyText("a,none"));
  };
  eFilename->OnButtonClick = [this](TObject*, int) { BrowseProgram(); };
  eFilename->Editor()->OnKeyPress = [this](TObject*, WideChar&) {
    FFollow = FollowFlags(WideToUtf8(eFilename->Text()), WideToUtf8(eFolder->Text()), WideToUtf8(eIcon->Text()));
  };
  eFilename->OnChange = [this](TObject*) { FileNameChanged(); };
  eIcon->OnButtonClick = [this](TObject*, int) { BrowseIcon(); };
  eIcon->OnChange = [this](TObject*) { IconChanged(); };
  plIcon->OnChange = [this](TObject*) {
    if (plIcon->ItemIndex() >= 0) FIconIndex = plIcon->ItemIndex();
  };
  SetMessageHandler(kDeleteProgramRow, [this](TMessage& M) {
    DeleteRow(FProgramRows, *sbPrograms, reinterpret_cast<TObject*>(M.LParam));
  });
  SetMessageHandler(kDeleteShortcutRow, [this](TMessage& M) {
    DeleteRow(FShortcutRows, *sbShortcuts, reinterpret_cast<TObject*>(M.LParam));
  });
  SetMessageHandler(kTakeKeyboard, [this](TMessage&) {
    if (!Visible() || !HandleAllocated()) return;
    ForceForegroundWindow(Handle());
    if (eTitle->CanFocus()) eTitle->SetFocus();
  });
  OnShow = [this](TObject*) { FormShow(); };
  Arrange();
}

TdEditIcon::~TdEditIcon() {
  // The rows' panels go with the form; the rows let go of them first.
  FProgramRows.clear();
  FShortcutRows.clear();
}

void TdEditIcon::LanguageUpdated() {
  SetLabel(lTitle, "Title", u"Title");
  SetLabel(lComment, "Comment", u"Comment");
  SetLabel(lProgram, "Program", u"Program");
  SetLabel(lParams, "Parameters", u"Parameters");
  SetLabel(lFolder, "Path", u"Working folder");
  SetLabel(lPrograms, "Programs", u"Programs");
  SetLabel(lIcon, "Icon", u"Icon");
  SetLabel(lShortcuts, "Shortcuts", u"Shortcuts");
  for (auto& row : FShortcutRows) row->UpdateLanguage();
  CaptionAddProgram();
  if (!FShortcutRows.empty()) StackRows(FShortcutRows, *sbShortcuts);
  PlaceFields();
  Arrange();
}

void TdEditIcon::CaptionAddProgram() {
  if (!bAddProgram || !bAddShortcut) return;
  // The add-program button says what the add-shortcut button says, with a
  // key of its own: both show on the batch page, and one key for two
  // buttons would only ever reach the first.
  std::vector<String> captions{WideToUtf8(StripAccelCharsW(bAddShortcut->Caption()))};
  for (const TKemButton* button : {bAddShortcut, bOk, bCancel}) captions.push_back(WideToUtf8(button->Caption()));
  for (const TKemLabel* label : {lTitle, lComment, lProgram, lParams, lFolder, lPrograms, lIcon, lShortcuts})
    captions.push_back(WideToUtf8(label->Caption()));
  AssignAutoAccelerators(captions);
  bAddProgram->SetCaption(Utf8ToWide(captions.front()));
}

void TdEditIcon::PlaceFields() {
  // The labels' column as wide as its widest text needs in the language shown.
  int labels = kLabelWidth;
  for (TKemLabel* label : {lTitle, lComment, lProgram, lParams, lFolder, lPrograms, lIcon})
    labels = std::max(labels, CaptionWidth(label, label->Caption()) + 2);
  const int left = kMargin + labels + 2, width = kWidth - kMargin - left;
  for (TKemLabel* label : {lTitle, lComment, lProgram, lParams, lFolder, lPrograms, lIcon}) label->SetWidth(labels);
  // The shortcuts' caption stands above their box, as wide as it needs.
  lShortcuts->SetWidth(std::max(kLabelWidth, CaptionWidth(lShortcuts, lShortcuts->Caption()) + 2));
  for (TControl* field : std::initializer_list<TControl*>{eTitle, eComment, eIcon, plIcon})
    field->SetBounds(left, field->Top(), width, field->Height());
  // On the notebook's pages, which start at the margin.
  for (TControl* field : std::initializer_list<TControl*>{eFilename, eParams, eFolder, sbPrograms})
    field->SetBounds(left - kMargin, field->Top(), width, field->Height());
  for (auto& row : FProgramRows) row->Panel->SetWidth(RowWidth(*sbPrograms));
  bAddProgram->SetLeft(left - kMargin + width - kButtonWidth);
}

void TdEditIcon::Arrange() {
  const int pageHeight = nb->PageIndex() == 1 ? kBatchPageHeight : kProgramPageHeight;
  nb->SetHeight(pageHeight);
  int top = nb->Top() + pageHeight + 4;
  lIcon->SetTop(top + 4);
  eIcon->SetTop(top);
  plIcon->SetTop(top + kRowPitch);
  top += kRowPitch + kIconListHeight + 4;
  // The shortcut rows need the dialog's whole width: their caption stands above them.
  lShortcuts->SetTop(top);
  top += 16;
  // Shortcut rows whose modifier lists take more than one line make the
  // dialog as much taller, so a whole row still shows.
  const int extra = FShortcutRows.empty() ? 0 : (FShortcutRows.front()->Lines - 1) * cfgListPitch;
  SetClientHeight(kHeight + extra);
  for (TKemButton* button : {bAddShortcut, bOk, bCancel}) button->SetTop(kHeight + extra - kMargin - kButtonHeight);
  sbShortcuts->SetBounds(kMargin, top, kWidth - 2 * kMargin, bOk->Top() - 6 - top);
}

void TdEditIcon::SetFields(const TOvIconFields& f, TOvProgramIcons Programs) {
  FPrograms = std::move(Programs);
  FBatch = f.Batch;
  eTitle->SetText(Utf8ToWide(f.Title));
  eComment->SetText(Utf8ToWide(f.Comment));
  nb->SetPageIndex(f.Batch ? 1 : 0);
  eFilename->SetText(Utf8ToWide(f.FileName));
  eParams->SetText(Utf8ToWide(f.Parameters));
  eFolder->SetText(Utf8ToWide(f.Folder));
  FFollow = TOvFollowFlags();
  FProgramRows.clear();
  for (const TOvBatchRow& row : f.Programs) AddProgramRow(row);
  FIconIndex = f.IconIndex;
  FPreviewsRead = false;
  eIcon->SetText(Utf8ToWide(f.IconFile));
  IconChanged();
  FShortcutRows.clear();
  for (const TOvHotkey& key : f.Shortcuts) AddShortcutRow(key);
  Arrange();
}

TOvIconFields TdEditIcon::Fields() const {
  TOvIconFields f;
  f.Title = WideToUtf8(eTitle->Text());
  f.Comment = WideToUtf8(eComment->Text());
  f.Batch = FBatch;
  f.FileName = WideToUtf8(eFilename->Text());
  f.Parameters = WideToUtf8(eParams->Text());
  f.Folder = WideToUtf8(eFolder->Text());
  for (const auto& row : FProgramRows) f.Programs.push_back(row->Row());
  f.IconFile = WideToUtf8(eIcon->Text());
  f.IconIndex = FIconIndex;
  for (const auto& row : FShortcutRows) f.Shortcuts.push_back(row->Hotkey());
  return f;
}

template <class TRow>
void TdEditIcon::StackRows(std::vector<std::unique_ptr<TRow>>& Rows, TScrollBox& Box) {
  // Stacked from the unscrolled top; the box then scrolls where it is asked.
  Box.SetVertPosition(0);
  int top = 0;
  for (size_t i = 0; i < Rows.size(); ++i) {
    TKemPanel* panel = Rows[i]->Panel;
    // The last row keeps a space below it.
    const bool last = i + 1 == Rows.size();
    int height = kProgramRowHeight;
    if constexpr (std::is_same_v<TRow, THotkeyBlock>) height = kShortcutRowHeight + (Rows[i]->Lines - 1) * cfgListPitch;
    height += last ? 4 : 0;
    panel->SetSpaceBottom(kRowSpace + (last ? 4 : 0));
    panel->SetBounds(0, top, RowWidth(Box), height);
    top += height;
  }
}

template <class TRow>
void TdEditIcon::DeleteRow(std::vector<std::unique_ptr<TRow>>& Rows, TScrollBox& Box, TObject* Row) {
  const auto at = std::find_if(Rows.begin(), Rows.end(),
                               [Row](const std::unique_ptr<TRow>& r) { return static_cast<TObject*>(r.get()) == Row; });
  // A second message for the same row (two quick clicks) finds it gone.
  if (at == Rows.end()) return;
  Rows.erase(at);
  StackRows(Rows, Box);
}

void TdEditIcon::AddProgramRow(const TOvBatchRow& Row) {
  FProgramRows.push_back(std::make_unique<TProgramBlock>(*this, *sbPrograms, FPrograms, Row));
  StackRows(FProgramRows, *sbPrograms);
  sbPrograms->ScrollInView(FProgramRows.back()->Panel);
}

void TdEditIcon::AddShortcutRow(const TOvHotkey& Hotkey) {
  FShortcutRows.push_back(std::make_unique<THotkeyBlock>(*this, *sbShortcuts, Hotkey));
  StackRows(FShortcutRows, *sbShortcuts);
  if (FShortcutRows.size() == 1) Arrange();
  sbShortcuts->ScrollInView(FShortcutRows.back()->Panel);
}

void TdEditIcon::FormShow() {
  Arrange();
  CaptionAddProgram();
  if (plIcon->ItemIndex() >= 0) plIcon->MakeVisible(plIcon->ItemIndex());
  ForceForegroundWindow(Handle());
  eTitle->SetFocus();
  // OnShow runs before the window is on the screen: the system may still give
  // the foreground to the program a drop came from. Once more when it shows.
  PostMessageW(Handle(), kTakeKeyboard, 0, 0);
}

void TdEditIcon::FileNameChanged() {
  String folder = WideToUtf8(eFolder->Text());
  String icon = WideToUtf8(eIcon->Text());
  const TOvFollowFlags before = FFollow;
  FollowFileName(FFollow, WideToUtf8(eFilename->Text()), folder, icon);
  if (before.Folder) eFolder->SetText(Utf8ToWide(folder));
  if (before.Icon) {
    eIcon->SetText(Utf8ToWide(icon));
    IconChanged();
  }
}

void TdEditIcon::BrowseProgram() {
  TOvBrowser* browser = OvBrowser();
  if (!browser || !browser->Execute(obmOpen, kPreviewPrograms, false, WideToUtf8(eFilename->Text()), 0)) return;
  FFollow = FollowFlags(WideToUtf8(eFilename->Text()), WideToUtf8(eFolder->Text()), WideToUtf8(eIcon->Text()));
  eFilename->SetText(Utf8ToWide(browser->FileName()));
  // The edit reports a change only while its window exists; the flags make a second run harmless.
  FileNameChanged();
}

void TdEditIcon::BrowseIcon() {
  TOvBrowser* browser = OvBrowser();
  if (!browser || !browser->Execute(obmOpen, kPreviewIcons, false, AbsoluteIconFile(eIcon->Text()), 0)) return;
  eIcon->SetText(Utf8ToWide(StripPathPrefix(browser->FileName(), GetExeDir())));
  IconChanged();
}

void TdEditIcon::IconChanged() {
  // A library such as shell32.dll takes a while: the same name is not read twice in a row.
  const String file = AbsoluteIconFile(eIcon->Text());
  if (FPreviewsRead && file == FPreviewsFile) return;
  FPreviewsRead = true;
  FPreviewsFile = file;
  FillImagePreviews(file, *plIcon);
  FIconIndex = PreviewIconIndex(FIconIndex, plIcon->Count());
  if (FIconIndex < plIcon->Count()) {
    const int index = FIconIndex;
    plIcon->SetItemIndex(index);
    FIconIndex = index;
  }
}

void FillImagePreviews(const String& FileName, TKemPanelList& List) {
  List.Clear();
  List.SetItemWidth(80);
  List.SetItemHeight(80);
  std::vector<std::unique_ptr<TBitmap>> previews;
  try {
    previews = MakeImagePreviews(FileName);
  } catch (const Exception&) {
    // While the name is being typed it names all sorts of things: none shows nothing.
  }
  for (std::unique_ptr<TBitmap>& picture : previews) {
    const bool alpha = picture->PixelFormat() == pf32bit;
    // A picture without alpha shows whole: a transparent colour taken from a
    // corner would punch holes wherever a flat image repeats it.
    List.InsertItem(List.Count(), WideString(), Variant(), picture.release(), nullptr, alpha)->Opaque = !alpha;
  }
  List.Rebuild();
}

bool EditIcon(TKemXmlTag& Icon, const TKemXmlTag* Groups, const std::function<std::int64_t(TKemXmlTag*)>& IconId) {
  std::unique_ptr<TdEditIcon, TFreeObject> dialog(NewForm<TdEditIcon>(nullptr));
  TOvProgramIcons programs = ProgramIconsOf(Groups);
  const TOvIconFields fields = ReadIconFields(Icon, programs);
  dialog->SetFields(fields, std::move(programs));
  if (dialog->ShowModal() != mrOk) return false;
  WriteIconFields(Icon, dialog->Fields(), dialog->Programs(), IconId);
  return true;
}
