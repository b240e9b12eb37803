#include "framework/core/Strings.h"

#include <algorithm>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"

namespace zel {

// ---- TStrings ----------------------------------------------------------------

void TStrings::Error(const char* msg, int data) const {
  throw EStringListError::CreateFmt(msg, data);
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
  return AnsiCompareText(a, b);
}

void TStrings::Put(int index, const std::string& s) {
  TObject* obj = GetObject(index);
  intptr_t data = GetData(index);
  BeginUpdate();
  try {
    Delete(index);
    InsertObject(index, s, obj);
    PutData(index, data);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddEntry(const std::string& s, TObject* obj, intptr_t data) {
  int index = Add(s);
  PutObject(index, obj);
  PutData(index, data);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) {
      AddEntry(strings.Get(i), strings.GetObject(i), strings.GetData(i));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(TPersistent* source) {
  auto* strings = dynamic_cast<TStrings*>(source);
  if (!strings) {
    TPersistent::Assign(source);
    return;
  }
  if (strings == this) return;
  BeginUpdate();
  try {
    Clear();
    FNameValueSeparator = strings->FNameValueSeparator;
    FLineBreak = strings->FLineBreak;
    AddStrings(*strings);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::DefineProperties(TFiler& filer) {
  auto read = [this](TReader& reader) {
    reader.ReadListBegin();
    BeginUpdate();
    try {
      Clear();
      while (!reader.EndOfList())
        Add(reader.ReadString());
      reader.ReadListEnd();
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  };
  auto write = [this](TWriter& writer) {
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i)
      writer.WriteString(Get(i));
    writer.WriteListEnd();
  };
  filer.DefineProperty("Strings", read, write, Count() > 0);
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t sep = s.find(FNameValueSeparator);
    if (sep != std::string::npos && CompareStrings(s.substr(0, sep), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* obj) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == obj) return i;
  return -1;
}

std::string TStrings::Names(int index) const {
  std::string s = Get(index);
  size_t sep = s.find(FNameValueSeparator);
  return sep == std::string::npos ? std::string() : s.substr(0, sep);
}

std::string TStrings::Values(const std::string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = name + FNameValueSeparator + value;
  if (i < 0)
    Add(line);
  else
    Put(i, line);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string s = Get(index);
  size_t sep = s.find(FNameValueSeparator);
  return sep == std::string::npos ? std::string() : s.substr(sep + 1);
}

void TStrings::SetValueFromIndex(int index, const std::string& value) {
  std::string name = Names(index);
  if (value.empty() && name.empty()) {
    Delete(index);
    return;
  }
  Put(index, name + FNameValueSeparator + value);
}

void TStrings::Exchange(int index1, int index2) {
  std::string s1 = Get(index1), s2 = Get(index2);
  TObject* o1 = GetObject(index1);
  TObject* o2 = GetObject(index2);
  intptr_t d1 = GetData(index1), d2 = GetData(index2);
  BeginUpdate();
  try {
    Put(index1, s2);
    Put(index2, s1);
    PutObject(index1, o2);
    PutObject(index2, o1);
    PutData(index1, d2);
    PutData(index2, d1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  std::string s = Get(curIndex);
  TObject* obj = GetObject(curIndex);
  intptr_t data = GetData(curIndex);
  if (newIndex < 0 || newIndex >= Count()) Error(SListIndexError, newIndex);
  BeginUpdate();
  try {
    Delete(curIndex);
    InsertObject(newIndex, s, obj);
    PutData(newIndex, data);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i)
    out.append(Get(i)).append(FLineBreak);
  return out;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    while (i < text.size()) {
      size_t end = text.find_first_of("\r\n", i);
      if (end == std::string::npos) {
        Add(text.substr(i));
        break;
      }
      Add(text.substr(i, end - i));
      i = end + 1;
      if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    bool quote = s.empty() || std::any_of(s.begin(), s.end(), [](char c) {
                   return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
                 });
    if (i > 0) out.push_back(',');
    out += quote ? QuotedStr(s, '"') : s;
  }
  return out;
}

void TStrings::SetCommaText(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    while (i < text.size() && blank(text[i]))
      ++i;
    while (i < text.size()) {
      std::string item;
      if (text[i] == '"') {
        ++i;
        while (i < text.size()) {
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              item.push_back('"');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item.push_back(text[i++]);
        }
      } else {
        while (i < text.size() && text[i] != ',' && !blank(text[i]))
          item.push_back(text[i++]);
      }
      Add(item);
      while (i < text.size() && blank(text[i]))
        ++i;
      if (i < text.size() && text[i] == ',') {
        ++i;
        // A comma at the very end stands for one more, empty, entry.
        if (i == text.size()) Add(std::string());
        while (i < text.size() && blank(text[i]))
          ++i;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& stream) {
  std::string text = stream.ReadChars(stream.Remaining());
  // A UTF-8 byte-order mark is no part of the first entry.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  stream.WriteChars(Text());
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

// ---- TStringList ---------------------------------------------------------------

TStringList::~TStringList() {
  // No change events while the list goes away.
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TItem& item : FList)
      delete item.Obj;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error(SListIndexError, index);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return FList[size_t(index)].S;
}

void TStringList::Put(int index, const std::string& s) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(index);
  Changing();
  FList[size_t(index)].S = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return FList[size_t(index)].Obj;
}

void TStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  FList[size_t(index)].Obj = obj;
  Changed();
}

intptr_t TStringList::GetData(int index) const {
  CheckIndex(index);
  return FList[size_t(index)].Data;
}

void TStringList::PutData(int index, intptr_t data) {
  CheckIndex(index);
  FList[size_t(index)].Data = data;
}

void TStringList::InsertItem(int index, TItem item) {
  Changing();
  FList.insert(FList.begin() + index, std::move(item));
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (FSorted) Error(SSortedListError, 0);
  if (index < 0 || index > Count()) Error(SListIndexError, index);
  InsertItem(index, TItem{s});
}

int TStringList::AddEntry(const std::string& s, TObject* obj, intptr_t data) {
  int index = Count();
  if (FSorted && Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) Error(SDuplicateString, 0);
  }
  InsertItem(index, TItem{s, obj, data});
  return index;
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* obj = FList[size_t(index)].Obj;
  FList.erase(FList.begin() + index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (TItem& item : old)
      delete item.Obj;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FList[size_t(index1)], FList[size_t(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex) return;
  Changing();
  TItem item = std::move(FList[size_t(curIndex)]);
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, std::move(item));
  Changed();
}

int TStringList::IndexOf(const std::string& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
  if (!FSorted) {
    index = TStrings::IndexOf(s);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  // Lower bound: the first entry not before s.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FList[size_t(mid)].S, s) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  index = lo;
  return lo < Count() && CompareStrings(FList[size_t(lo)].S, s) == 0;
}

void TStringList::SortBy(const std::function<int(int, int)>& compare) {
  // A bottom-up merge sort of indexes: stable, and safe with a comparison
  // that is not a consistent order.
  size_t n = FList.size();
  std::vector<int> order(n), buffer(n);
  for (size_t i = 0; i < n; ++i)
    order[i] = int(i);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, k = lo;
      while (a < mid && b < hi)
        buffer[k++] = compare(order[b], order[a]) < 0 ? order[b++] : order[a++];
      while (a < mid)
        buffer[k++] = order[a++];
      while (b < hi)
        buffer[k++] = order[b++];
    }
    order.swap(buffer);
  }
  std::vector<TItem> sorted;
  sorted.reserve(n);
  for (int i : order)
    sorted.push_back(std::move(FList[size_t(i)]));
  FList = std::move(sorted);
}

void TStringList::Sort() {
  if (FList.size() < 2) return;
  Changing();
  SortBy([this](int a, int b) { return CompareStrings(FList[size_t(a)].S, FList[size_t(b)].S); });
  Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (FSorted || FList.size() < 2 || !compare) return;
  Changing();
  SortBy([&](int a, int b) { return compare(*this, a, b); });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (FSorted == value) return;
  if (value) Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (FCaseSensitive == value) return;
  FCaseSensitive = value;
  if (FSorted) Sort();
}

void TStringList::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TStringList*>(source); other && other != this) {
    BeginUpdate();
    try {
      Clear();
      FDuplicates = other->FDuplicates;
      FCaseSensitive = other->FCaseSensitive;
      FSorted = other->FSorted;
    } catch (...) {
      EndUpdate();
      throw;
    }
    TStrings::Assign(source);
    EndUpdate();
    return;
  }
  TStrings::Assign(source);
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
  return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

} // namespace zel
