// TStrings, the class library's abstract list of text lines with objects, and
// TStringList, its ordinary implementation (sorting, duplicates, owned objects,
// change events). Text is UTF-8; lines compare by the ASCII rule of CompareText
// (or byte for byte when CaseSensitive), so the order is the same in every build.
#pragma once
#include <functional>
#include <vector>

#include "platform/events.h"
#include "platform/object.h"
#include "platform/types.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TObject {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // ---- What a descendant provides
  virtual int Count() const = 0;
  virtual String Get(int Index) const = 0;
  virtual TObject* GetObject(int Index) const;  // nil unless the descendant keeps objects
  virtual void Put(int Index, const String& S);
  virtual void PutObject(int Index, TObject* AObject);  // ignored unless the descendant keeps objects
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  // ---- Lines and objects
  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(const TStrings& Strings);
  // Copies lines, objects (as references) and the delimiter settings; assigning
  // a list to itself changes nothing.
  virtual void Assign(const TStrings& Source);
  bool Equals(const TStrings& Strings) const;  // same lines, byte for byte
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  virtual int IndexOf(const String& S) const;
  int IndexOfName(const String& Name) const;
  int IndexOfObject(const TObject* AObject) const;

  String Strings(int Index) const { return Get(Index); }
  String operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }

  // ---- "name=value" lines (NameValueSeparator); names compare as CompareStrings does
  String Names(int Index) const;  // "" for a line without separator
  String Values(const String& Name) const;
  // Replaces the line of that name, appends a new one, or with "" deletes it.
  void SetValue(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;  // "" for a line without separator
  void SetValueFromIndex(int Index, const String& Value);

  // ---- Whole text
  // Every line followed by CR LF.
  String Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty line.
  virtual void SetText(const String& Value);
  // DelimitedText with ',', '"' and blanks as separators.
  String CommaText() const;
  void SetCommaText(const String& Value);
  // Items that contain the delimiter, the quote char or (unless StrictDelimiter)
  // blanks and control characters are quoted, quote chars doubled inside; a
  // list of one empty line reads "" so that it survives a round trip. Reading
  // also lets blanks separate items unless StrictDelimiter; quoted items keep theirs.
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);

  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Nested; the descendant hears SetUpdateState(true) at the first BeginUpdate and
  // SetUpdateState(false) at the matching last EndUpdate. Extra EndUpdates are ignored.
  void BeginUpdate();
  void EndUpdate();

  // ---- Files and streams: UTF-8 text; reading drops a UTF-8 byte order mark and
  // reads text that is not valid UTF-8 as the ANSI code page.
  virtual void LoadFromFile(const String& FileName);
  // Through a temporary file and one replace, so the old file stays whole on failure.
  virtual void SaveToFile(const String& FileName) const;
  // From the stream's position to its end.
  virtual void LoadFromStream(TStream& Stream);
  virtual void SaveToStream(TStream& Stream) const;

 protected:
  virtual void SetUpdateState(bool Updating);
  virtual int CompareStrings(const String& S1, const String& S2) const;
  int UpdateCount() const { return FUpdateCount; }
  // Splits text into lines and adds them, for SetText and the loaders.
  void AddTextLines(const String& Value);

 private:
  String DelimitedTextWith(char Delim, char Quote, bool Strict) const;
  void SetDelimitedTextWith(const String& Value, char Delim, char Quote, bool Strict);

  int FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
};

class TStringList;
// Compares the lines at two indexes of the list as it stands before sorting.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  // Frees owned objects without firing events.
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FList.size()); }
  String Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  // EStringListError "Operation not allowed on sorted list" when Sorted.
  void Put(int Index, const String& S) override;
  // Replaces the reference only: an owned object that was there is not freed.
  void PutObject(int Index, TObject* AObject) override;
  // Both raise "Operation not allowed on sorted list" when Sorted.
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  // In a sorted list the line goes to its place; an equal line there is handled
  // by Duplicates (dupIgnore returns the existing index, dupError raises
  // "String list does not allow duplicates"). Unsorted lists accept every line.
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;  // raises on a sorted list
  int IndexOf(const String& S) const override;

  // Binary search, for sorted lists: true when S is there; Index is where it is
  // (the first of equal lines) or where it would go.
  virtual bool Find(const String& S, int& Index) const;
  // Both are stable and do nothing for a list that is already Sorted.
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);  // switching it on sorts the list
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);  // re-sorts a sorted list
  // When set, Delete, Clear and the destructor free the objects.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  // OnChanging fires before and OnChange after each change. Between BeginUpdate
  // and the last EndUpdate OnChanging fires once, before the first change, and
  // OnChange once at that EndUpdate, and only when something changed.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changing();
  virtual void Changed();
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const String& S1, const String& S2) const override;
  void InsertItem(int Index, const String& S, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject;
  };
  void CheckIndex(int Index) const;
  void SortBy(const std::function<bool(int, int)>& Less);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  bool FChangingSent = false;    // OnChanging already fired in this update
  bool FChangedPending = false;  // something changed in this update
};
