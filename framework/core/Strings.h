#pragma once
// String lists: TStrings, the abstract list of texts with an object (and an
// integer datum) per entry, name=value access, text and comma-text forms and
// update brackets; and TStringList, the concrete list that can be kept
// sorted, with binary search and a policy for duplicates.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Persistent.h"

namespace zel {

class TStream;
class TStringList;

enum class TDuplicates { dupIgnore, dupAccept, dupError };
inline constexpr TDuplicates dupIgnore = TDuplicates::dupIgnore;
inline constexpr TDuplicates dupAccept = TDuplicates::dupAccept;
inline constexpr TDuplicates dupError = TDuplicates::dupError;

class TStrings : public TPersistent {
  ZEL_CLASS(TStrings, TPersistent)
public:
  // ---- the operations a concrete list provides ----
  virtual int Count() const = 0;
  // Index errors raise EStringListError "List index out of bounds (%d)".
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual TObject* GetObject(int index) const { return nullptr; }
  virtual void PutObject(int index, TObject* obj) {}
  // A free integer per entry (a colour, an identity); 0 where unsupported.
  virtual intptr_t GetData(int index) const { return 0; }
  virtual void PutData(int index, intptr_t data) {}
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // ---- built on them ----
  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& s) { Put(index, s); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* obj) { PutObject(index, obj); }
  intptr_t Data(int index) const { return GetData(index); }
  void SetData(int index, intptr_t data) { PutData(index, data); }

  // The index of the new entry (a sorted list puts it in its place).
  virtual int Add(const std::string& s);
  // Adds an entry with its object and datum in one change.  A sorted list
  // that ignores duplicates returns the existing entry unchanged.
  virtual int AddEntry(const std::string& s, TObject* obj, intptr_t data);
  int AddObject(const std::string& s, TObject* obj) { return AddEntry(s, obj, 0); }
  int AddData(const std::string& s, intptr_t data) { return AddEntry(s, nullptr, data); }
  void Append(const std::string& s) { Add(s); }
  void InsertObject(int index, const std::string& s, TObject* obj);
  virtual void AddStrings(const TStrings& strings);
  void Assign(TPersistent* source) override;
  bool Equals(const TStrings& other) const;
  // Streams the entries as the defined property "Strings".
  void DefineProperties(TFiler& filer) override;

  // Searches compare as the list does (see CompareStrings); -1 when absent.
  virtual int IndexOf(const std::string& s) const;
  int IndexOfName(const std::string& name) const;
  int IndexOfObject(const TObject* obj) const;

  // name=value entries.  Names(i) is empty for an entry without separator;
  // setting a value to "" deletes the entry; a new name is appended.
  std::string Names(int index) const;
  std::string Values(const std::string& name) const;
  void SetValues(const std::string& name, const std::string& value);
  std::string ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::string& value);
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char c) { FNameValueSeparator = c; }

  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);

  // Every entry followed by the line break.  SetText splits at "\r\n", "\n"
  // or "\r"; a final line break adds no empty entry.
  std::string Text() const;
  virtual void SetText(const std::string& text);
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& lb) { FLineBreak = lb; }
  // Entries separated by ","; an entry with blanks, commas or quotes (or an
  // empty one) is quoted with '"', inner quotes doubled.
  std::string CommaText() const;
  void SetCommaText(const std::string& text);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  // Update brackets: the outermost pair tells the list once (SetUpdateState).
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

protected:
  // Called with true at the outermost BeginUpdate, false at its EndUpdate.
  virtual void SetUpdateState(bool updating) {}
  // Ignores case unless a descendant says otherwise.
  virtual int CompareStrings(const std::string& a, const std::string& b) const;
  [[noreturn]] void Error(const char* msg, int data) const;

private:
  int FUpdateCount = 0;
  char FNameValueSeparator = '=';
  std::string FLineBreak = "\n";
};

// The comparison a custom sort uses: negative when entry i1 goes before i2.
using TStringListSortCompare = std::function<int(TStringList& list, int i1, int i2)>;

class TStringList : public TStrings {
  ZEL_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  // Deletes the objects when OwnsObjects is set.
  ~TStringList() override;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int index) const override;
  // A sorted list refuses Put, Insert, Exchange and Move with EStringListError.
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  intptr_t GetData(int index) const override;
  void PutData(int index, intptr_t data) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& s) override { return AddEntry(s, nullptr, 0); }
  int AddEntry(const std::string& s, TObject* obj, intptr_t data) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::string& s) const override;
  void Assign(TPersistent* source) override;

  // Binary search of a sorted list: true when found, index then being the
  // first equal entry; otherwise index is where s would be inserted.
  // On an unsorted list it searches linearly.
  bool Find(const std::string& s, int& index) const;
  void Sort();
  // A stable sort with the given comparison; the list is left unsorted.
  void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool value) { FOwnsObjects = value; }

  // Raised around every change, but only outside update brackets; a bracket
  // raises OnChanging at its start and OnChange at its end, once.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool updating) override;
  int CompareStrings(const std::string& a, const std::string& b) const override;
  virtual void Changed();
  virtual void Changing();

private:
  struct TItem {
    std::string S;
    TObject* Obj = nullptr;
    intptr_t Data = 0;
  };
  void CheckIndex(int index) const;
  void InsertItem(int index, TItem item);
  void SortBy(const std::function<int(int, int)>& compare);

  std::vector<TItem> FList;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};

} // namespace zel
