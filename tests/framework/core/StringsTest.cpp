// String lists: sorting, searching, name=value entries, text forms, events.

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/Strings.h"

namespace zel {
namespace {

std::vector<std::string> Items(const TStrings& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.Count(); ++i)
    out.push_back(s[i]);
  return out;
}

TEST(StringList, SortedFindAndDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"Delta", "alpha", "Charlie", "bravo"})
    list.Add(s);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"alpha", "bravo", "Charlie", "Delta"}));
  int index = -1;
  EXPECT_TRUE(list.Find("CHARLIE", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("c", index));
  EXPECT_EQ(index, 2); // where it would go
  EXPECT_FALSE(list.Find("zulu", index));
  EXPECT_EQ(index, 4);

  // dupIgnore: the existing index, nothing added.
  EXPECT_EQ(list.Add("ALPHA"), 0);
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("Bravo"), EStringListError);
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(dupAccept);
  list.Add("Bravo");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_TRUE(list.Find("bravo", index));
  EXPECT_EQ(index, 1); // the first of equal entries

  // A sorted list refuses placing entries by hand.
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
  EXPECT_THROW(list.Put(0, "x"), EStringListError);
}

TEST(StringList, SortsCyrillicIgnoringCase) {
  TStringList list;
  for (const char* s : {"Ёлка", "ель", "Жук", "абрикос", "Zebra", "10", "_x"})
    list.Add(s);
  list.Sort();
  EXPECT_EQ(Items(list),
            (std::vector<std::string>{"_x", "10", "Zebra", "абрикос", "ель", "Ёлка", "Жук"}));
  EXPECT_EQ(list.IndexOf("ЖУК"), 6);
  EXPECT_FALSE(list.Sorted()); // Sort orders once, it does not keep the list sorted
}

TEST(StringList, CaseSensitivity) {
  TStringList list;
  list.Add("Form");
  EXPECT_EQ(list.IndexOf("FORM"), 0);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("FORM"), -1);
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  list.Add("FORM"); // differs in case, so not a duplicate
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf("FORM"), list.IndexOf("FORM"));
  EXPECT_NE(list.IndexOf("FORM"), list.IndexOf("Form"));
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Color=clRed\nplain line\nFontColor=$00C66931\nEmpty=\n");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Names(0), "Color");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("fontcolor"), "$00C66931");
  EXPECT_EQ(list.ValueFromIndex(3), "");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  EXPECT_EQ(list.IndexOfName("plain line"), -1);
  list.SetValues("Color", "clBlue");
  EXPECT_EQ(list[0], "Color=clBlue");
  list.SetValues("New", "1");
  EXPECT_EQ(list[4], "New=1");
  list.SetValues("Color", ""); // an empty value deletes the entry
  EXPECT_EQ(list.IndexOfName("Color"), -1);
  list.SetValueFromIndex(0, "x");
  EXPECT_EQ(list[0], "=x");
}

TEST(StringList, CustomSortIsStableAndSafe) {
  TStringList list;
  const char* names[] = {"b1", "a1", "b2", "a2", "c1"};
  for (int i = 0; i < 5; ++i)
    list.AddData(names[i], i);
  // By first letter only: equal keys keep their order.
  list.CustomSort([](TStringList& l, int i, int j) { return int(l[i][0]) - int(l[j][0]); });
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a1", "a2", "b1", "b2", "c1"}));
  EXPECT_EQ(list.Data(0), 1); // the data travelled with the entries
  // A comparison that is not an order must not break anything.
  int calls = 0;
  list.CustomSort([&](TStringList&, int, int) { return (calls++ % 3) - 1; });
  EXPECT_EQ(list.Count(), 5);
}

TEST(StringList, ChangeEventsOncePerBracket) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changing;
  };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  // Text replaces everything in one change.
  list.SetText("x\r\ny\rz");
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(list.Text(), "x\ny\nz\n");
}

TEST(StringList, EditingOperationsAndIndexErrors) {
  TStringList list;
  list.SetCommaText("one,\"two words\",\"say \"\"hi\"\"\",,last");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "two words", "say \"hi\"", "", "last"}));
  EXPECT_EQ(list.CommaText(), "one,\"two words\",\"say \"\"hi\"\"\",\"\",last");
  list.Move(0, 4);
  EXPECT_EQ(list[4], "one");
  list.Exchange(0, 4);
  EXPECT_EQ(list[0], "one");
  list.Insert(1, "inserted");
  EXPECT_EQ(list[1], "inserted");
  EXPECT_THROW(list.Get(99), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(99, "x"), EStringListError);
  EXPECT_THROW(list.Move(0, 99), EStringListError);
  try {
    list.Get(7);
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (7)");
  }
}

TEST(StringList, ObjectsAssignAndOwnership) {
  TStringList a;
  TStringList target;
  a.AddObject("x", &target);
  a.AddData("y", 0xC66931);
  a.SetSorted(true);
  TStringList b;
  b.Assign(&a);
  EXPECT_TRUE(b.Sorted());
  EXPECT_EQ(b.Objects(0), &target);
  EXPECT_EQ(b.Data(1), 0xC66931);
  EXPECT_EQ(b.IndexOfObject(&target), 0);
  EXPECT_TRUE(b.Equals(a));
  TStringList c;
  c.Add("old");
  c.AddStrings(a);
  EXPECT_EQ(c.Count(), 3);

  // A duplicate ignored by a sorted list leaves the existing entry alone.
  TStringList keys;
  keys.SetSorted(true);
  int changes = 0;
  keys.OnChange = [&](TObject*) { ++changes; };
  keys.AddData(".FORM1.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL", 1);
  EXPECT_EQ(changes, 1); // one change for the entry with its datum
  EXPECT_EQ(keys.AddData(".form1.panel1;tapplication.tmyform.tmypanel", 2), 0);
  EXPECT_EQ(keys.Data(0), 1);
  EXPECT_EQ(changes, 1);

  // Text from a stream loses a byte-order mark.
  TStringStream text("\xEF\xBB\xBFПервая\r\nВторая");
  TStringList lines;
  lines.LoadFromStream(text);
  EXPECT_EQ(Items(lines), (std::vector<std::string>{"Первая", "Вторая"}));

  // An owning list deletes its objects (the leak checker watches this).
  TStringList owner;
  owner.SetOwnsObjects(true);
  owner.AddObject("1", new TStringList);
  owner.AddObject("2", new TStringList);
  owner.Delete(0);
  EXPECT_EQ(owner.Count(), 1);
}

} // namespace
} // namespace zel
