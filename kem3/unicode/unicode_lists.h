// The second family of wide lists: every list has a locale that orders its
// items and chooses the code page of 8-bit text, items may be kept in a
// normalisation form, and a list loaded from 8-bit text is saved as 8-bit text.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "kem3/unicode/uclocale.h"
#include "kem3/unicode/ucwidebase.h"
#include "kem3/unicode/ucwidelist.h"
#include "kem3/unicode/unicode.h"
#include "platform/events.h"
#include "platform/object.h"
#include "platform/streams.h"
#include "platform/stringlist.h"
#include "platform/types.h"

namespace unicode {

// Asked before a save in a code page would lose characters; GoOn false writes nothing.
using TLossyConversionEvent = std::function<void(TObject* Sender, bool& GoOn)>;

class TWideStrings : public TWideStringsCommon<TWideStrings> {
 public:
  TWideStrings();
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;

  virtual WideString Get(int Index) const = 0;
  virtual int GetCapacity() const { return GetCount(); }
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  // The items with CR LF between them, none after the last.
  virtual WideString GetTextStr() const { return GetSeparatedText(u"\r\n"); }
  virtual void Put(int Index, const WideString& S) = 0;
  virtual void PutObject(int Index, TObject* AObject) = 0;
  virtual void SetCapacity(int NewCapacity);
  virtual void SetLocale(LCID_T Value) { FLocale = Value; }
  // 8-bit items in the code page of Locale.
  virtual void AddAnsiStrings(const TStrings& Strings);
  // A source in another locale has its items carried across through the code pages.
  virtual void AddStrings(const TWideStrings& Strings);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual WideString GetSeparatedText(std::u16string_view Separator) const;
  virtual int IndexOf(const WideString& S) const;
  virtual void Insert(int Index, const WideString& S) = 0;
  virtual void LoadFromFile(const String& FileName);
  // A mark (FF FE or FE FF) means UTF-16 and sets WriteUtf16; anything else is
  // 8-bit text in the system code page and clears it. An odd last byte is dropped.
  virtual void LoadFromStream(TStream& Stream);
  // Through a temporary file and one replace, with the mark.
  virtual void SaveToFile(const String& FileName);
  virtual void SaveToStream(TStream& Stream, bool WithMark);
  // Lines end at NUL, LF, VT, FF, CR (CR LF counts once), U+2028 and U+2029;
  // a NUL ends the text.
  virtual void SetTextStr(const WideString& Value);

  int Count() const { return GetCount(); }
  WideString Text() const { return GetTextStr(); }
  void Assign(const TWideStrings& Source);
  void Assign(const TStrings& Source);
  void AssignTo(TStrings& Dest) const;

  LCID_T Locale() const { return FLocale; }
  bool Saved() const { return FSaved; }
  bool WriteUtf16() const { return FWriteUtf16; }
  void SetWriteUtf16(bool Value) { FWriteUtf16 = Value; }
  TNormalizationForm NormalizationForm() const { return FNormalizationForm; }
  void SetNormalizationForm(TNormalizationForm Value) { FNormalizationForm = Value; }
  TLossyConversionEvent OnLossyConversion;

 protected:
  virtual void AskLossyConversion(bool& GoOn);
  int CompareItems(const WideString& S1, const WideString& S2) const;
  [[noreturn]] static void IndexError(int Index);

 private:
  LCID_T FLocale;
  bool FSaved = false;
  bool FWriteUtf16 = true;
  TNormalizationForm FNormalizationForm = nfNone;
};

class TWideStringList : public TWideItemList<TWideStrings> {
 public:
  TWideStringList() = default;
  // Frees its items through Clear, so a non-empty list fires its events once more.
  ~TWideStringList() override;

  void SetCapacity(int NewCapacity) override;
  // A sorted list is sorted again in the new locale.
  void SetLocale(LCID_T Value) override;
  int Add(const WideString& S) override { return AddItem(S, nullptr); }
  void Insert(int Index, const WideString& S) override { InsertItemAt(Index, S, nullptr); }
  void Sort() override;

 protected:
  // Items are kept, and looked for, in the list's normalisation form.
  WideString StoredForm(const WideString& S) const override;
  WideString SearchForm(const WideString& S) const override { return NormalizeText(S, NormalizationForm()); }
  int CompareSorted(const WideString& S1, const WideString& S2) const override { return CompareItems(S1, S2); }

 private:
  void SortItems();
};

}  // namespace unicode
