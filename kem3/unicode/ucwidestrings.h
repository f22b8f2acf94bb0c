// The layer's wide text lists: the abstract TWideStrings, TUcStrings with its
// 8-bit view and encoding-aware loading and saving, and the concrete TUcStringList.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/unicode/ucwidebase.h"
#include "kem3/unicode/ucwidelist.h"
#include "platform/events.h"
#include "platform/object.h"
#include "platform/streams.h"
#include "platform/stringlist.h"
#include "platform/types.h"

enum TStreamTextEncoding { seAnsi = 0, seUtf16LE = 1, seUtf16BE = 2, seUtf8 = 3 };

// Reads the byte-order mark at the stream's position: FF FE, FE FF and EF BB BF
// stay consumed; anything else (also fewer than 2 bytes) leaves the position as it was.
TStreamTextEncoding DetectStreamEncoding(TStream& Stream);

// A file stream opened by a wide name; fmCreate makes the file.
class TUcFileStream : public TFileStream {
 public:
  TUcFileStream(const WideString& FileName, std::uint16_t Mode);
};

class TWideStrings : public TWideStringsCommon<TWideStrings> {
 public:
  TWideStrings() = default;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;

  virtual WideString Get(int Index) const = 0;
  virtual int GetCapacity() const { return GetCount(); }
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  // Every item followed by CR LF.
  virtual WideString GetTextStr() const;
  virtual void Put(int Index, const WideString& S);  // keeps the object
  virtual void PutObject(int Index, TObject* AObject);
  virtual void SetCapacity(int NewCapacity);
  // Lines end at CR, LF or U+2028; after a line one CR, one LF and one U+2028
  // are skipped, so CR LF U+2028 ends a single line. No empty last line.
  virtual void SetTextStr(const WideString& Value);
  virtual int CompareStrings(const WideString& S1, const WideString& S2) const;
  // Items of an 8-bit (UTF-8) list, widened, with their objects.
  virtual void AddAnsiStrings(const TStrings& Strings);
  virtual void AddStrings(const TWideStrings& Strings);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual int IndexOf(const WideString& S) const;
  virtual int IndexOfName(const WideString& Name) const;
  virtual int IndexOfObject(const TObject* AObject) const;
  virtual void Insert(int Index, const WideString& S) = 0;
  // UTF-16LE without a mark; an odd last byte is dropped.
  virtual void LoadFromFile(const WideString& FileName);
  virtual void LoadFromStream(TStream& Stream);
  // Through a temporary file and one replace, so a failed save leaves the old file whole.
  virtual void SaveToFile(const WideString& FileName) const;
  virtual void SaveToStream(TStream& Stream) const;

  int Count() const { return GetCount(); }
  WideString Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  WideString Text() const { return GetTextStr(); }
  void SetText(const WideString& Value) { SetTextStr(Value); }

  void Assign(const TWideStrings& Source);
  // Takes the 8-bit list's separators and its items widened.
  void Assign(const TStrings& Source);
  // Clears the 8-bit list and gives it this list's separators and items.
  void AssignTo(TStrings& Dest) const;

  WideChar Delimiter() const { return FDelimiter; }
  void SetDelimiter(WideChar Value) { FDelimiter = Value; }
  WideChar QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(WideChar Value) { FQuoteChar = Value; }
  WideChar NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(WideChar Value) { FNameValueSeparator = Value; }

 protected:
  [[noreturn]] static void IndexError(int Index);

 private:
  WideChar FDelimiter = u',';
  WideChar FQuoteChar = u'"';
  WideChar FNameValueSeparator = u'=';
};

class TUcStrings;

// The 8-bit view of a wide list: items come and go in the adapter's code page,
// by default UTF-8, the program's 8-bit text.
class TAnsiStringsForWideStringsAdapter : public TStrings {
 public:
  explicit TAnsiStringsForWideStringsAdapter(TWideStrings& Strings, unsigned CodePage = 0)
      : FWide(Strings), FCodePage(CodePage) {}
  int Count() const override { return FWide.GetCount(); }
  String Get(int Index) const override;
  TObject* GetObject(int Index) const override { return FWide.GetObject(Index); }
  void Put(int Index, const String& S) override;
  void PutObject(int Index, TObject* AObject) override { FWide.PutObject(Index, AObject); }
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override { FWide.Delete(Index); }
  void Clear() override { FWide.Clear(); }
  // The rest of the stream as 8-bit text in CodePage (0: the adapter's) becomes
  // the wide list's text; the wide list's text written in CodePage.
  virtual void LoadFromStreamCP(TStream& Stream, unsigned CodePage);
  virtual void SaveToStreamCP(TStream& Stream, unsigned CodePage) const;

  // 0 stands for UTF-8.
  unsigned CodePage() const { return FCodePage ? FCodePage : 65001; }
  void SetCodePage(unsigned Value) { FCodePage = Value; }

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TWideStrings& FWide;
  unsigned FCodePage;
};

// Loads by byte-order mark (FF FE, FE FF, EF BB BF, else ANSI) and always saves
// UTF-16LE with the FF FE mark.
class TUcStrings : public TWideStrings {
 public:
  TUcStrings();
  ~TUcStrings() override;

  void LoadFromFile(const WideString& FileName) override;
  void LoadFromStream(TStream& Stream) override;
  void SaveToFile(const WideString& FileName) const override;
  void SaveToStream(TStream& Stream) const override;
  virtual void LoadFromStreamBom(TStream& Stream, bool Detect);
  virtual void SaveToStreamBom(TStream& Stream, bool WriteMark) const;

  TAnsiStringsForWideStringsAdapter& AnsiStrings() { return *FAnsiStrings; }
  TStreamTextEncoding LastFileEncoding() const { return FLastFileEncoding; }

 private:
  std::unique_ptr<TAnsiStringsForWideStringsAdapter> FAnsiStrings;
  TStreamTextEncoding FLastFileEncoding = seUtf16LE;
};

class TUcStringList;
using TWideStringListSortCompare = std::function<int(TUcStringList* List, int Index1, int Index2)>;

class TUcStringList : public TWideItemList<TUcStrings> {
 public:
  TUcStringList() = default;
  // Freeing a list fires no event.
  ~TUcStringList() override;

  void SetCapacity(int NewCapacity) override;
  int CompareStrings(const WideString& S1, const WideString& S2) const override;
  int Add(const WideString& S) override { return AddItem(S, nullptr); }
  int AddObject(const WideString& S, TObject* AObject) override { return AddItem(S, AObject); }
  int IndexOfName(const WideString& Name) const override;
  void Insert(int Index, const WideString& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(int Index, const WideString& S, TObject* AObject) override { InsertItemAt(Index, S, AObject); }

  void Sort() override;
  virtual void CustomSort(const TWideStringListSortCompare& Compare);

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

 protected:
  int CompareSorted(const WideString& S1, const WideString& S2) const override { return CompareStrings(S1, S2); }

 private:
  bool FCaseSensitive = false;
};
