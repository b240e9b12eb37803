#pragma once
// A mutator of the layout file that knows its structure: the file a run
// wrote is parsed into its six sections, the main window's record after
// them, and their records, changed where a
// name, a kind, a size, a position or a record stands, and written back so
// that every length, count and end mark agrees with what follows.  The
// files it makes are therefore well formed byte by byte and reach the
// readers' checks of what the bytes name, which byte-level mutation (flips,
// boundary values, Mutation.h) almost never gets past:
//   - a component name swapped for any other of the main window and the
//     editor (bar parents, docked and hidden clients, bar names, actions),
//     an unknown one or none; a float-tree key for another control's key;
//   - a bar's parent kind, a colour-map kind, a zone's orientation changed;
//   - positions, sizes and limits set to extremes;
//   - records duplicated, dropped, or swapped with another of their shape
//     (the two bars' placements, two menu items, two zones);
//   - unknown actions, colour properties and style names.
// ParseLayout doubles as the check that a file the program wrote is well
// formed.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "docking/FloatTree.h"
#include "framework/core/Component.h"
#include "tests/support/Mutation.h"

namespace zel::test {

enum class TEncoding : uint8_t { U8, U16, I32, Chars, Str8, Str16, Str32 };

// What a field stands for, which decides how it is changed.
enum class TMeaning : uint8_t {
  Fixed,      // signatures, versions, padding, the file name, zone levels
  Bool,       // 0 or 1
  Flags,      // bits 1 and 2
  GlyphSize,  // never 0 here: 0 would end the editor's record early
  ParentKind, // a bar's: 0 floating form, 1 control bar, 2 other, 255 none
  MapKind,    // 0 standard, 1 XP, 2 twilight, 255 none
  Orientation,
  Component,
  ClassName,
  Key,
  Action,
  Property,
  Text,
  Position,
  Extent,
  Number,
};

// The shape of a record; records of one shape may trade places.
enum class TShape : uint8_t {
  File,
  EditorRecord,
  BarPlacement,
  FloatTree,
  DockTree,
  Configuration,
  WindowPlacement,
  Colour,
  FloatEntry,
  HiddenName,
  Zone,
  ScheduleEntry,
  Bar,
  Item,
};

struct TLayoutNode;

struct TLayoutField {
  TEncoding Encoding;
  TMeaning Meaning;
  int64_t Value = 0;
  std::string Text;
};

// Records of one shape, written after their count (U8 or I32) or, without
// one, up to an end mark that the field after the list holds.
struct TLayoutList {
  TShape Shape;
  std::optional<TEncoding> Count;
  std::vector<TLayoutNode> Records;
};

// A field, or a list (a list's member is left unset in a field's part).
struct TLayoutPart {
  bool IsList;
  TLayoutField Field;
  TLayoutList List;
};

struct TLayoutNode {
  TShape Shape;
  std::vector<TLayoutPart> Parts;
};

// ---- Reading and writing -----------------------------------------------------------

class TLayoutReader {
public:
  explicit TLayoutReader(std::string_view bytes) : FBytes(bytes) {}

  // The file as the six sections and the main window's placement record
  // when one ends it, or nothing when the bytes do not follow the format
  // exactly to their end.
  std::optional<TLayoutNode> File() {
    TLayoutNode file{TShape::File, {}};
    TLayoutList sections{TShape::File, std::nullopt, {}};
    sections.Records.push_back(EditorRecord());
    sections.Records.push_back(BarPlacement());
    sections.Records.push_back(BarPlacement());
    sections.Records.push_back(FloatTree());
    sections.Records.push_back(DockTree());
    sections.Records.push_back(Configuration());
    if (FOk && FAt != FBytes.size()) sections.Records.push_back(WindowPlacement());
    if (!FOk || FAt != FBytes.size()) return std::nullopt;
    file.Parts.push_back(TLayoutPart{true, {}, std::move(sections)});
    return file;
  }

private:
  int64_t Integer(size_t size) {
    if (FBytes.size() - FAt < size) return Fail();
    uint64_t v = 0;
    for (size_t i = 0; i < size; ++i)
      v |= uint64_t(uint8_t(FBytes[FAt + i])) << (8 * i);
    FAt += size;
    return size == 4 ? int64_t(int32_t(uint32_t(v))) : int64_t(v);
  }
  std::string Chars(int64_t n) {
    if (n < 0 || uint64_t(n) > FBytes.size() - FAt) return Fail(), std::string();
    std::string s(FBytes.substr(FAt, size_t(n)));
    FAt += size_t(n);
    return s;
  }
  int64_t Fail() {
    FOk = false;
    FAt = FBytes.size();
    return 0;
  }
  TLayoutField& Add(TLayoutNode& n, TEncoding e, TMeaning m, std::string chars = {}) {
    TLayoutField f{e, m, 0, {}};
    switch (e) {
    case TEncoding::U8:
      f.Value = Integer(1);
      break;
    case TEncoding::U16:
      f.Value = Integer(2);
      break;
    case TEncoding::I32:
      f.Value = Integer(4);
      break;
    case TEncoding::Chars:
      f.Text = Chars(int64_t(chars.size()));
      if (f.Text != chars) Fail();
      break;
    case TEncoding::Str8:
      f.Text = Chars(Integer(1));
      break;
    case TEncoding::Str16:
      f.Text = Chars(Integer(2));
      break;
    case TEncoding::Str32:
      f.Text = Chars(Integer(4));
      break;
    }
    n.Parts.push_back(TLayoutPart{false, std::move(f), {}});
    return n.Parts.back().Field;
  }
  // A counted list, its count bounded by what is left to read.
  template <class Read> void Counted(TLayoutNode& n, TEncoding count, TShape shape, Read&& read) {
    TLayoutList list{shape, count, {}};
    const int64_t c = Integer(count == TEncoding::U8 ? 1 : 4);
    if (c < 0 || uint64_t(c) > FBytes.size() - FAt) Fail();
    for (int64_t i = 0; FOk && i < c; ++i)
      list.Records.push_back(read());
    n.Parts.push_back(TLayoutPart{true, {}, std::move(list)});
  }
  // Records up to an i32 end mark of -1 in place of their first field.
  template <class Read> void Marked(TLayoutNode& n, TShape shape, Read&& read) {
    TLayoutList list{shape, std::nullopt, {}};
    while (FOk && FBytes.size() - FAt >= 4 && Integer(4) != -1) {
      FAt -= 4;
      list.Records.push_back(read());
    }
    n.Parts.push_back(TLayoutPart{true, {}, std::move(list)});
    TLayoutField end{TEncoding::I32, TMeaning::Fixed, -1, {}};
    n.Parts.push_back(TLayoutPart{false, end, {}});
  }

  TLayoutNode EditorRecord() {
    TLayoutNode n{TShape::EditorRecord, {}};
    Add(n, TEncoding::Str8, TMeaning::Fixed);
    if (Add(n, TEncoding::U8, TMeaning::GlyphSize).Value == 0) return Fail(), n;
    Add(n, TEncoding::Str8, TMeaning::Text);
    Add(n, TEncoding::U8, TMeaning::MapKind);
    for (int m = 0; m < 3; ++m)
      Counted(n, TEncoding::U8, TShape::Colour, [&] {
        TLayoutNode c{TShape::Colour, {}};
        Add(c, TEncoding::Str8, TMeaning::Property);
        Add(c, TEncoding::I32, TMeaning::Number);
        return c;
      });
    Add(n, TEncoding::U8, TMeaning::Bool);
    Add(n, TEncoding::I32, TMeaning::Number);
    Add(n, TEncoding::I32, TMeaning::Number);
    Add(n, TEncoding::U8, TMeaning::Bool);
    Add(n, TEncoding::U8, TMeaning::Bool);
    return n;
  }
  TLayoutNode BarPlacement() {
    TLayoutNode n{TShape::BarPlacement, {}};
    Add(n, TEncoding::Chars, TMeaning::Fixed, "Zel0");
    Add(n, TEncoding::U8, TMeaning::Bool);
    const int64_t kind = Add(n, TEncoding::U8, TMeaning::ParentKind).Value;
    if (kind > 2 && kind != 255) Fail();
    if (kind != 255)
      Add(n, TEncoding::Str16, kind == 0 ? TMeaning::ClassName : TMeaning::Component);
    for (TMeaning m : {TMeaning::Position, TMeaning::Position, TMeaning::Extent, TMeaning::Extent})
      Add(n, TEncoding::I32, m);
    return n;
  }
  TLayoutNode FloatTree() {
    TLayoutNode n{TShape::FloatTree, {}};
    if (Add(n, TEncoding::I32, TMeaning::Fixed).Value != 3) Fail();
    Marked(n, TShape::FloatEntry, [&] {
      TLayoutNode e{TShape::FloatEntry, {}};
      if (Add(e, TEncoding::I32, TMeaning::Fixed).Value != 24) Fail();
      for (int i = 0; i < 4; ++i)
        Add(e, TEncoding::I32, TMeaning::Position);
      Add(e, TEncoding::U8, TMeaning::Bool);
      Add(e, TEncoding::U8, TMeaning::Fixed);
      Add(e, TEncoding::U16, TMeaning::Fixed);
      Add(e, TEncoding::Str32, TMeaning::Key);
      return e;
    });
    return n;
  }
  TLayoutNode DockTree() {
    TLayoutNode n{TShape::DockTree, {}};
    if (Add(n, TEncoding::I32, TMeaning::Fixed).Value != 0x00080000) Fail();
    Add(n, TEncoding::U8, TMeaning::Bool);
    Add(n, TEncoding::U8, TMeaning::Orientation);
    Counted(n, TEncoding::I32, TShape::HiddenName, [&] {
      TLayoutNode h{TShape::HiddenName, {}};
      Add(h, TEncoding::Str32, TMeaning::Component);
      return h;
    });
    Add(n, TEncoding::I32, TMeaning::Extent);
    Marked(n, TShape::Zone, [&] {
      TLayoutNode z{TShape::Zone, {}};
      Add(z, TEncoding::I32, TMeaning::Fixed);
      Add(z, TEncoding::U8, TMeaning::Orientation);
      Add(z, TEncoding::I32, TMeaning::Extent);
      Add(z, TEncoding::Str32, TMeaning::Component);
      return z;
    });
    return n;
  }
  void ItemList(TLayoutNode& n) {
    Add(n, TEncoding::U8, TMeaning::Bool);
    Counted(n, TEncoding::I32, TShape::Item, [&] {
      TLayoutNode i{TShape::Item, {}};
      Add(i, TEncoding::Str32, TMeaning::Text);
      Add(i, TEncoding::Str16, TMeaning::Action);
      Add(i, TEncoding::I32, TMeaning::Number);
      Add(i, TEncoding::U16, TMeaning::Number);
      Add(i, TEncoding::U8, TMeaning::Flags);
      Add(i, TEncoding::I32, TMeaning::Number);
      Add(i, TEncoding::I32, TMeaning::Number);
      if (++FDepth > 40) Fail();
      ItemList(i);
      ItemList(i);
      --FDepth;
      return i;
    });
  }
  TLayoutNode Configuration() {
    TLayoutNode n{TShape::Configuration, {}};
    Add(n, TEncoding::Chars, TMeaning::Fixed, "ZAMC");
    if (Add(n, TEncoding::U16, TMeaning::Fixed).Value != 1) Fail();
    Add(n, TEncoding::I32, TMeaning::Number);
    Counted(n, TEncoding::I32, TShape::ScheduleEntry, [&] {
      TLayoutNode e{TShape::ScheduleEntry, {}};
      Add(e, TEncoding::Str32, TMeaning::Text);
      return e;
    });
    Counted(n, TEncoding::I32, TShape::Bar, [&] {
      TLayoutNode b{TShape::Bar, {}};
      Add(b, TEncoding::Str16, TMeaning::Component);
      Add(b, TEncoding::U8, TMeaning::Flags);
      ItemList(b);
      ItemList(b);
      return b;
    });
    Add(n, TEncoding::Chars, TMeaning::Fixed, "END.");
    return n;
  }

  TLayoutNode WindowPlacement() {
    TLayoutNode n{TShape::WindowPlacement, {}};
    if (Add(n, TEncoding::U8, TMeaning::Fixed).Value != '0') Fail();
    for (TMeaning m : {TMeaning::Position, TMeaning::Position, TMeaning::Extent, TMeaning::Extent})
      Add(n, TEncoding::I32, m);
    Add(n, TEncoding::U8, TMeaning::Bool);
    if (Add(n, TEncoding::U16, TMeaning::Fixed).Value != 24) Fail();
    Add(n, TEncoding::Chars, TMeaning::Fixed, "ZelW");
    return n;
  }

  std::string_view FBytes;
  size_t FAt = 0;
  bool FOk = true;
  int FDepth = 0;
};

inline std::optional<TLayoutNode> ParseLayout(std::string_view bytes) {
  return TLayoutReader(bytes).File();
}

inline void WriteLayoutNode(std::string& out, const TLayoutNode& node) {
  auto integer = [&](int64_t v, size_t size) {
    for (size_t i = 0; i < size; ++i)
      out += char(uint64_t(v) >> (8 * i));
  };
  for (const TLayoutPart& p : node.Parts) {
    if (p.IsList) {
      if (p.List.Count)
        integer(int64_t(p.List.Records.size()), *p.List.Count == TEncoding::U8 ? 1 : 4);
      for (const TLayoutNode& r : p.List.Records)
        WriteLayoutNode(out, r);
      continue;
    }
    const TLayoutField& f = p.Field;
    switch (f.Encoding) {
    case TEncoding::U8:
      integer(f.Value, 1);
      break;
    case TEncoding::U16:
      integer(f.Value, 2);
      break;
    case TEncoding::I32:
      integer(f.Value, 4);
      break;
    case TEncoding::Chars:
      out += f.Text;
      break;
    case TEncoding::Str8:
      integer(int64_t(f.Text.size()), 1), out += f.Text;
      break;
    case TEncoding::Str16:
      integer(int64_t(f.Text.size()), 2), out += f.Text;
      break;
    case TEncoding::Str32:
      integer(int64_t(f.Text.size()), 4), out += f.Text;
      break;
    }
  }
}

inline std::string WriteLayout(const TLayoutNode& file) {
  std::string out;
  WriteLayoutNode(out, file);
  return out;
}

// ---- What the names may be ---------------------------------------------------------

struct TLayoutVocabulary {
  std::vector<std::string> Components; // every named component under the window
  std::vector<std::string> Classes;    // their classes, and a few forms
  std::vector<std::string> Keys;       // the float-tree keys of its controls
};

inline void CollectNames(const TComponent* c, TLayoutVocabulary& v) {
  if (!c->Name().empty()) {
    v.Components.push_back(c->Name());
    v.Classes.push_back(c->ClassName());
    v.Keys.push_back(TFloatTreeZel::MakeKey(c));
  }
  for (int i = 0; i < c->ComponentCount(); ++i)
    CollectNames(c->Components(i), v);
}

// The names of window and everything it owns (the editor and its controls
// among them).
inline TLayoutVocabulary VocabularyOf(const TComponent& window) {
  TLayoutVocabulary v;
  CollectNames(&window, v);
  v.Classes.insert(v.Classes.end(), {"TCustomDockFormZel", "TCustomDockForm", "TForm"});
  return v;
}

// ---- The changes -------------------------------------------------------------------

class TLayoutMutator {
public:
  TLayoutMutator(const TLayoutVocabulary& words, TRandom& random)
      : FWords(words), FRandom(random) {}

  // One to four changes of file, or nothing when it is not a layout file.
  std::optional<std::string> Mutate(std::string_view bytes) {
    std::optional<TLayoutNode> file = ParseLayout(bytes);
    if (!file) return std::nullopt;
    const int steps = 1 + int(FRandom.Below(4));
    for (int i = 0; i < steps; ++i)
      Step(*file);
    return WriteLayout(*file);
  }

private:
  struct TFieldSite {
    TLayoutNode* Node;
    size_t Index;
  };

  void Collect(TLayoutNode& n, std::vector<TFieldSite>& fields, std::vector<TLayoutList*>& lists) {
    for (size_t i = 0; i < n.Parts.size(); ++i) {
      TLayoutPart& p = n.Parts[i];
      if (!p.IsList) {
        if (p.Field.Meaning != TMeaning::Fixed) fields.push_back({&n, i});
        continue;
      }
      lists.push_back(&p.List);
      for (TLayoutNode& r : p.List.Records)
        Collect(r, fields, lists);
    }
  }

  // A change of a field, a list or two records.  Fields are picked by
  // their meaning first and lists by their shape first, so that the few
  // names of the bars and the dock tree are changed as often as the many
  // numbers of the menu items.
  void Step(TLayoutNode& file) {
    std::vector<TFieldSite> fields;
    std::vector<TLayoutList*> lists;
    Collect(file, fields, lists);
    const size_t kind = FRandom.Below(10);
    if (kind < 6 && !fields.empty()) {
      const TFieldSite s = PickBy(
          fields, [](const TFieldSite& f) { return int(f.Node->Parts[f.Index].Field.Meaning); });
      ChangeField(*s.Node, s.Index);
    } else if (kind < 8 && lists.size() > 1) {
      // The sections themselves keep their number and order.
      lists.erase(lists.begin());
      TLayoutList& l = *PickBy(lists, [](const TLayoutList* l) { return int(l->Shape); });
      if (l.Records.empty()) return;
      const size_t at = FRandom.Below(l.Records.size());
      const bool full = l.Count == TEncoding::U8 && l.Records.size() >= 0xFF;
      if (kind == 6 && !full)
        l.Records.insert(l.Records.begin() + long(FRandom.Below(l.Records.size() + 1)),
                         TLayoutNode(l.Records[at]));
      else
        l.Records.erase(l.Records.begin() + long(at));
    } else {
      SwapRecords(lists);
    }
  }

  // One of items, picked among those of a class picked first.
  template <class T, class ClassOf> T PickBy(const std::vector<T>& items, ClassOf&& classOf) {
    std::vector<int> classes;
    for (const T& t : items)
      if (std::find(classes.begin(), classes.end(), classOf(t)) == classes.end())
        classes.push_back(classOf(t));
    const int chosen = classes[FRandom.Below(classes.size())];
    std::vector<const T*> of;
    for (const T& t : items)
      if (classOf(t) == chosen) of.push_back(&t);
    return *of[FRandom.Below(of.size())];
  }

  // Two records of one shape, in one list or two, trade places (the two
  // bars' placements are the only sections of one shape).
  void SwapRecords(const std::vector<TLayoutList*>& lists) {
    std::vector<TLayoutNode*> records;
    for (TLayoutList* l : lists)
      for (TLayoutNode& r : l->Records)
        records.push_back(&r);
    if (records.empty()) return;
    TLayoutNode* a = records[FRandom.Below(records.size())];
    std::vector<TLayoutNode*> same;
    for (TLayoutNode* r : records)
      if (r->Shape == a->Shape && r != a) same.push_back(r);
    if (same.empty()) return;
    TLayoutNode* b = same[FRandom.Below(same.size())];
    // A menu item and one of its own sub-items cannot trade places.
    if (Holds(*a, b) || Holds(*b, a)) return;
    std::swap(*a, *b);
  }

  static bool Holds(const TLayoutNode& n, const TLayoutNode* inner) {
    for (const TLayoutPart& p : n.Parts)
      if (p.IsList)
        for (const TLayoutNode& r : p.List.Records)
          if (&r == inner || Holds(r, inner)) return true;
    return false;
  }

  const std::string& Pick(const std::vector<std::string>& from) {
    return from[FRandom.Below(from.size())];
  }

  std::string Name(const std::vector<std::string>& known, const char* unknown) {
    const size_t k = FRandom.Below(10);
    if (k < 7 && !known.empty()) return Pick(known);
    if (k < 9) return unknown;
    return "";
  }

  int64_t Extreme() {
    static const int64_t kValues[] = {0,
                                      1,
                                      -1,
                                      2,
                                      4000,
                                      -4000,
                                      32767,
                                      65535,
                                      100000,
                                      -100000,
                                      std::numeric_limits<int32_t>::max(),
                                      std::numeric_limits<int32_t>::min()};
    return kValues[FRandom.Below(std::size(kValues))];
  }

  std::string Text() {
    static const char* const kTexts[] = {"Zel Style", "XP Style",     "Standard", "No Such Style",
                                         "",          "\xFF\xFE\x80", "&&&&"};
    const size_t k = FRandom.Below(std::size(kTexts) + 1);
    return k < std::size(kTexts) ? kTexts[k] : std::string(300, 'W');
  }

  void ChangeField(TLayoutNode& n, size_t index) {
    TLayoutField& f = n.Parts[index].Field;
    switch (f.Meaning) {
    case TMeaning::Fixed:
      break;
    case TMeaning::Bool:
      f.Value ^= 1;
      break;
    case TMeaning::Flags:
      f.Value ^= int64_t(1 + FRandom.Below(2));
      break;
    case TMeaning::GlyphSize: {
      static const int64_t kSizes[] = {1, 9, 10, 16, 32, 33, 255};
      f.Value = kSizes[FRandom.Below(std::size(kSizes))];
      break;
    }
    case TMeaning::ParentKind:
      ChangeParentKind(n, index);
      break;
    case TMeaning::MapKind: {
      static const int64_t kMaps[] = {0, 1, 2, 255};
      f.Value = kMaps[FRandom.Below(std::size(kMaps))];
      break;
    }
    case TMeaning::Orientation:
      f.Value = int64_t(FRandom.Below(3));
      break;
    case TMeaning::Component:
      f.Text = Name(FWords.Components, "NoSuchControl1");
      break;
    case TMeaning::ClassName:
      f.Text = Name(FWords.Classes, "TNoSuchForm");
      break;
    case TMeaning::Key:
      f.Text = FRandom.Below(4) ? Name(FWords.Keys, ".NOSUCHFORM;TAPPLICATION.TNOSUCHFORM")
                                : f.Text + f.Text;
      break;
    case TMeaning::Action:
      f.Text = Name(FWords.Components, "actNoSuchAction");
      break;
    case TMeaning::Property:
      f.Text = FRandom.Below(2) ? std::string("NoSuchColor") : Name(FWords.Components, "Name");
      break;
    case TMeaning::Text:
      f.Text = Text();
      break;
    case TMeaning::Position:
    case TMeaning::Extent:
    case TMeaning::Number:
      f.Value = f.Encoding == TEncoding::U16 ? int64_t(FRandom.Below(0x10000)) : Extreme();
      break;
    }
  }

  // A bar's parent kind decides whether a name follows and what it names:
  // a form's class for a floating bar, a component otherwise, none at 255.
  void ChangeParentKind(TLayoutNode& n, size_t index) {
    static const int64_t kKinds[] = {0, 1, 2, 255};
    const int64_t kind = kKinds[FRandom.Below(std::size(kKinds))];
    const bool hadName = n.Parts[index].Field.Value != 255;
    n.Parts[index].Field.Value = kind;
    if (hadName) n.Parts.erase(n.Parts.begin() + long(index + 1));
    if (kind == 255) return;
    const bool floating = kind == 0;
    TLayoutField name{TEncoding::Str16, floating ? TMeaning::ClassName : TMeaning::Component, 0,
                      floating ? Name(FWords.Classes, "TNoSuchForm")
                               : Name(FWords.Components, "NoSuchControl1")};
    n.Parts.insert(n.Parts.begin() + long(index + 1), TLayoutPart{false, name, {}});
  }

  const TLayoutVocabulary& FWords;
  TRandom& FRandom;
};

} // namespace zel::test
