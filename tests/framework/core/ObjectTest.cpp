// Class information, checked casts, class references and published-property
// tables.

#include <gtest/gtest.h>

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Properties.h"

namespace zel {
namespace {

using TColor = int32_t;

enum TShade { shLight, shMedium, shDark };

class TBaseMap : public TComponent {
  ZEL_CREATABLE_CLASS(TBaseMap, TComponent)
public:
  explicit TBaseMap(TComponent* owner) : TComponent(owner) {}
  TColor Color() const { return FColor; }
  void SetColor(TColor c) {
    FColor = c;
    ++ColorSets;
  }
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor c) { FFontColor = c; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v) { FFlat = v; }
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& s) { FCaption = s; }
  static void DeclareProperties(TPropertyTable<TBaseMap>& t) {
    t.AddColor("Color", &TBaseMap::Color, &TBaseMap::SetColor);
    t.Add("Flat", &TBaseMap::Flat, &TBaseMap::SetFlat);
    t.Add("Caption", &TBaseMap::Caption, &TBaseMap::SetCaption);
    t.AddColor("FontColor", &TBaseMap::FontColor, &TBaseMap::SetFontColor);
  }
  int ColorSets = 0;

private:
  TColor FColor = 0;
  TColor FFontColor = 0;
  bool FFlat = false;
  std::string FCaption;
};

// Declares no properties of its own: it must not repeat its base's.
class TPlainMap : public TBaseMap {
  ZEL_CREATABLE_CLASS(TPlainMap, TBaseMap)
public:
  using TBaseMap::TBaseMap;
};

class TDerivedMap : public TPlainMap {
  ZEL_CREATABLE_CLASS(TDerivedMap, TPlainMap)
public:
  using TPlainMap::TPlainMap;
  TColor ShadowColor() const { return FShadow; }
  void SetShadowColor(TColor c) { FShadow = c; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade s) { FShade = s; }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* c) { FBuddy = c; }
  int Count() const { return 7; }
  static void DeclareProperties(TPropertyTable<TDerivedMap>& t) {
    t.AddColor("ShadowColor", &TDerivedMap::ShadowColor, &TDerivedMap::SetShadowColor);
    t.AddEnum("Shade", "TShade", &TDerivedMap::Shade, &TDerivedMap::SetShade,
              {"shLight", "shMedium", "shDark"});
    t.Add("Buddy", &TDerivedMap::Buddy, &TDerivedMap::SetBuddy);
    t.AddReadOnly("Count", &TDerivedMap::Count);
  }

private:
  TColor FShadow = 0;
  TShade FShade = shLight;
  TComponent* FBuddy = nullptr;
};

// Redeclares an inherited property with another default.
class TRedeclared : public TBaseMap {
  ZEL_CLASS(TRedeclared, TBaseMap)
public:
  using TBaseMap::TBaseMap;
  static void DeclareProperties(TPropertyTable<TRedeclared>& t) {
    t.Add("flat", &TRedeclared::Flat, &TRedeclared::SetFlat).Default = 1;
  }
};

// No factory: created only directly.
class TAbstractThing : public TObject {
  ZEL_CLASS(TAbstractThing, TObject)
public:
  // Class tests of other objects, written inside a class without qualifier.
  bool Handles(TObject* target) const { return Is<TBaseMap>(target); }
  TBaseMap* Target(TObject* target) const { return As<TBaseMap>(target); }
};

TEST(ClassInfo, NamesParentsAndInheritance) {
  TDerivedMap map(nullptr);
  EXPECT_EQ(map.ClassName(), "TDerivedMap");
  EXPECT_EQ(&map.ClassType(), &TDerivedMap::StaticClass());
  EXPECT_EQ(map.ClassParent(), &TPlainMap::StaticClass());
  EXPECT_EQ(TComponent::StaticClass().ClassName(), "TComponent");
  EXPECT_EQ(TPersistent::StaticClass().ClassParent(), &TObject::StaticClass());
  EXPECT_EQ(TObject::StaticClass().ClassParent(), nullptr);
  EXPECT_TRUE(map.InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(map.InheritsFrom(TDerivedMap::StaticClass()));
  EXPECT_FALSE(TBaseMap::StaticClass().InheritsFrom(TDerivedMap::StaticClass()));
  // Through a base pointer the class is still the real one.
  TObject* obj = &map;
  EXPECT_EQ(obj->ClassName(), "TDerivedMap");
}

TEST(ClassInfo, IsAndCheckedCasts) {
  TBaseMap base(nullptr);
  TObject* obj = &base;
  EXPECT_TRUE(obj->Is<TComponent>());
  EXPECT_TRUE(obj->Is<TBaseMap>());
  EXPECT_FALSE(obj->Is<TDerivedMap>());
  EXPECT_EQ(obj->As<TBaseMap>(), &base);
  try {
    obj->As<TDerivedMap>();
    FAIL() << "the cast should have failed";
  } catch (const EInvalidCast& e) {
    EXPECT_NE(e.Message().find("TBaseMap"), std::string::npos);
    EXPECT_NE(e.Message().find("TDerivedMap"), std::string::npos);
  }
  // nil: Is is false, As passes nil through.
  EXPECT_FALSE(Is<TObject>(static_cast<TObject*>(nullptr)));
  EXPECT_EQ(As<TBaseMap>(static_cast<TObject*>(nullptr)), nullptr);
  TAbstractThing thing;
  EXPECT_TRUE(thing.Handles(&base));
  EXPECT_FALSE(thing.Handles(nullptr));
  EXPECT_FALSE(thing.Handles(&thing));
  EXPECT_EQ(thing.Target(&base), &base);
  EXPECT_THROW(thing.Target(&thing), EInvalidCast);
}

TEST(ClassInfo, ClassReferencesCreateThroughFactories) {
  TComponent owner(nullptr);
  TClassRef<TBaseMap> ref = TDerivedMap::StaticClass();
  TBaseMap* made = ref.Create(&owner);
  EXPECT_EQ(made->ClassName(), "TDerivedMap");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  TClassRef<TComponent> wider = ref; // class of a descendant family
  EXPECT_EQ(wider.ClassName(), "TDerivedMap");
  EXPECT_TRUE(wider.InheritsFrom(TBaseMap::StaticClass()));

  // A class outside the reference's family is refused.
  EXPECT_THROW((void)TClassRef<TBaseMap>(TComponent::StaticClass()), EInvalidCast);
  // A class without a factory cannot be created through a reference.
  TClassRef<TObject> abstractRef = TAbstractThing::StaticClass();
  EXPECT_THROW(abstractRef.Create(), EInvalidOperation);
  // Nor can nil.
  EXPECT_THROW(TClassRef<TBaseMap>().Create(&owner), EInvalidCast);
  // A component factory refuses an owner that is not a component.
  TAbstractThing notAComponent;
  EXPECT_THROW(TComponent::StaticClass().Create(&notAComponent), EInvalidCast);
}

TEST(ClassInfo, RegistryFindsByNameIgnoringCase) {
  RegisterClass(TDerivedMap::StaticClass());
  EXPECT_EQ(GetClass("tderivedmap"), &TDerivedMap::StaticClass());
  EXPECT_EQ(&FindClass("TDerivedMap"), &TDerivedMap::StaticClass());
  UnRegisterClass(TDerivedMap::StaticClass());
  EXPECT_EQ(GetClass("TDerivedMap"), nullptr);
  EXPECT_THROW(FindClass("TDerivedMap"), EClassNotFound);
}

std::vector<std::string> Names(const std::vector<const TPropInfo*>& props) {
  std::vector<std::string> out;
  for (const TPropInfo* p : props)
    out.push_back(p->Name);
  return out;
}

TEST(PropertyTables, DeclarationOrderBaseClassesFirst) {
  EXPECT_EQ(Names(GetPropList(TBaseMap::StaticClass())),
            (std::vector<std::string>{"Name", "Tag", "Color", "Flat", "Caption", "FontColor"}));
  // A class without its own declarations has exactly its base's list.
  EXPECT_EQ(Names(GetPropList(TPlainMap::StaticClass())),
            Names(GetPropList(TBaseMap::StaticClass())));
  EXPECT_EQ(Names(GetPropList(TDerivedMap::StaticClass())),
            (std::vector<std::string>{"Name", "Tag", "Color", "Flat", "Caption", "FontColor",
                                      "ShadowColor", "Shade", "Buddy", "Count"}));
}

TEST(PropertyTables, RedeclaredPropertyKeepsItsPlace) {
  const auto& props = GetPropList(TRedeclared::StaticClass());
  EXPECT_EQ(Names(props),
            (std::vector<std::string>{"Name", "Tag", "Color", "flat", "Caption", "FontColor"}));
  EXPECT_EQ(GetPropInfo(TRedeclared::StaticClass(), "Flat")->Default, 1);
  EXPECT_FALSE(GetPropInfo(TBaseMap::StaticClass(), "Flat")->Default.has_value());
}

TEST(PropertyTables, TypeNamesAndKinds) {
  const TClassInfo& c = TDerivedMap::StaticClass();
  EXPECT_EQ(GetPropInfo(c, "Color")->TypeName, "TColor");
  EXPECT_EQ(GetPropInfo(c, "Color")->Kind, TTypeKind::tkInteger);
  EXPECT_EQ(GetPropInfo(c, "Flat")->TypeName, "Boolean");
  EXPECT_EQ(GetPropInfo(c, "Flat")->Kind, TTypeKind::tkEnumeration);
  EXPECT_EQ(GetPropInfo(c, "Caption")->Kind, TTypeKind::tkString);
  EXPECT_EQ(GetPropInfo(c, "Buddy")->Kind, TTypeKind::tkClass);
  EXPECT_EQ(GetPropInfo(c, "Buddy")->TypeName, "TComponent");
  EXPECT_FALSE(GetPropInfo(c, "Count")->IsWritable());
  // The walk over every colour of a colour map.
  EXPECT_EQ(Names(GetPropsOfType(c, "TCOLOR")),
            (std::vector<std::string>{"Color", "FontColor", "ShadowColor"}));
}

TEST(PropertyTables, GetAndSetByNameIgnoringCase) {
  TDerivedMap map(nullptr);
  SetOrdProp(map, "shadowcolor", 0xC66931);
  EXPECT_EQ(map.ShadowColor(), 0xC66931);
  SetOrdProp(map, "COLOR", -16777201); // a system colour, negative as a TColor
  EXPECT_EQ(map.Color(), -16777201);
  EXPECT_EQ(GetOrdProp(map, "Color"), -16777201);
  EXPECT_EQ(map.ColorSets, 1); // through the setter, once
  SetOrdProp(map, "flat", 1);
  EXPECT_TRUE(map.Flat());
  SetStrProp(map, "caption", "Цвет");
  EXPECT_EQ(GetStrProp(map, "Caption"), "Цвет");
  SetStrProp(map, "Name", "Map1");
  EXPECT_EQ(map.Name(), "Map1");
  SetOrdProp(map, "Shade", shDark);
  EXPECT_EQ(map.Shade(), shDark);
  EXPECT_EQ(GetEnumName(*GetPropInfo(map, "Shade"), GetOrdProp(map, "Shade")), "shDark");
  EXPECT_EQ(GetEnumValue(*GetPropInfo(map, "Shade"), "SHMEDIUM"), 1);

  TComponent buddy(nullptr);
  SetObjectProp(map, "buddy", &buddy);
  EXPECT_EQ(map.Buddy(), &buddy);
  EXPECT_EQ(GetObjectProp(map, "Buddy"), &buddy);
  SetObjectProp(map, "Buddy", nullptr);
  EXPECT_EQ(map.Buddy(), nullptr);
}

TEST(PropertyTables, WrongUseRaises) {
  TDerivedMap map(nullptr);
  EXPECT_THROW(SetOrdProp(map, "NoSuchColor", 1), EPropertyError);
  EXPECT_THROW(SetOrdProp(map, "Count", 1), EPropertyError); // read-only
  EXPECT_THROW(SetStrProp(map, "Color", "red"), EPropertyConvertError);
  EXPECT_THROW(GetStrProp(map, "Color"), EPropertyConvertError);
  EXPECT_THROW(SetOrdProp(map, "Shade", 3), EPropertyConvertError); // no such value
  EXPECT_EQ(map.Shade(), shLight);
  // An object of the wrong class is refused by the property's type.
  TAbstractThing thing;
  EXPECT_THROW(SetObjectProp(map, "Buddy", &thing), EInvalidCast);
  // A property info applied to an object of another class is refused.
  TComponent other(nullptr);
  EXPECT_THROW(GetOrdProp(other, *GetPropInfo(map, "Color")), EInvalidCast);
  // An invalid name through the table keeps the old one.
  map.SetName("Good");
  EXPECT_THROW(SetStrProp(map, "Name", "1bad"), EComponentError);
  EXPECT_EQ(map.Name(), "Good");
}

} // namespace
} // namespace zel
