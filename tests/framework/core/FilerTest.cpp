// Component streams: published and defined properties written and read back
// by name, nested objects, collections, references and failures.

#include <gtest/gtest.h>

#include <memory>

#include "framework/core/Collection.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/Streams.h"
#include "framework/core/Strings.h"

namespace zel {
namespace {

enum TOrientation { orHorizontal, orVertical };

class TBand : public TCollectionItem {
  ZEL_CREATABLE_CLASS_ARG(TBand, TCollectionItem, TCollection)
public:
  explicit TBand(TCollection* c) : TCollectionItem(c) {}
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& s) { FCaption = s; }
  int Width() const { return FWidth; }
  void SetWidth(int w) { FWidth = w; }
  static void DeclareProperties(TPropertyTable<TBand>& t) {
    t.Add("Caption", &TBand::Caption, &TBand::SetCaption);
    t.Add("Width", &TBand::Width, &TBand::SetWidth);
  }

private:
  std::string FCaption;
  int FWidth = 0;
};

class TSettings : public TComponent {
  ZEL_CREATABLE_CLASS(TSettings, TComponent)
public:
  explicit TSettings(TComponent* owner)
      : TComponent(owner), FBands(this, TBand::StaticClass()),
        FLines(std::make_unique<TStringList>()) {}
  int Size() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  TOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TOrientation o) { FOrientation = o; }
  double Ratio() const { return FRatio; }
  void SetRatio(double r) { FRatio = r; }
  int32_t Color() const { return FColor; }
  void SetColor(int32_t c) { FColor = c; }
  TOwnedCollection* Bands() const { return const_cast<TOwnedCollection*>(&FBands); }
  TStringList* Lines() const { return FLines.get(); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* c) { FBuddy = c; }
  static void DeclareProperties(TPropertyTable<TSettings>& t) {
    t.Add("Size", &TSettings::Size, &TSettings::SetSize).Default = 24;
    t.Add("Visible", &TSettings::Visible, &TSettings::SetVisible).Default = 1;
    t.AddEnum("Orientation", "TOrientation", &TSettings::Orientation, &TSettings::SetOrientation,
              {"orHorizontal", "orVertical"});
    t.Add("Ratio", &TSettings::Ratio, &TSettings::SetRatio);
    t.AddColor("Color", &TSettings::Color, &TSettings::SetColor);
    t.AddReadOnly("Bands", &TSettings::Bands);
    t.AddReadOnly("Lines", &TSettings::Lines);
    t.Add("Buddy", &TSettings::Buddy, &TSettings::SetBuddy);
  }
  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "DirName", [this](TReader& r) { DirName = r.ReadString(); },
        [this](TWriter& w) { w.WriteString(DirName); }, !DirName.empty());
    filer.DefineBinaryProperty(
        "Bitmap", [this](TStream& s) { Blob = s.ReadChars(s.Size()); },
        [this](TStream& s) { s.WriteChars(Blob); }, HasBlob);
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
  }
  std::string DirName;
  std::string Blob;
  bool HasBlob = false;
  int LoadedCount = 0;

private:
  int FSize = 24;
  bool FVisible = true;
  TOrientation FOrientation = orHorizontal;
  double FRatio = 0;
  int32_t FColor = 0;
  TOwnedCollection FBands;
  std::unique_ptr<TStringList> FLines;
  TComponent* FBuddy = nullptr;
};

class TRootForm : public TComponent {
  ZEL_CREATABLE_CLASS(TRootForm, TComponent)
public:
  explicit TRootForm(TComponent* owner) : TComponent(owner) {}
};

class FilerTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterClass(TSettings::StaticClass());
    RegisterClass(TComponent::StaticClass());
  }
  void TearDown() override {
    UnRegisterClass(TSettings::StaticClass());
    UnRegisterClass(TComponent::StaticClass());
  }
};

TEST_F(FilerTest, RoundTripOfAComponentTree) {
  TMemoryStream stream;
  {
    TRootForm form(nullptr);
    form.SetName("Form1");
    auto* target = new TComponent(&form);
    target->SetName("Target");
    auto* s = new TSettings(&form);
    s->SetName("Settings1");
    s->SetSize(32);
    s->SetVisible(false);
    s->SetOrientation(orVertical);
    s->SetRatio(0.25);
    s->SetColor(-16777201);
    s->Lines()->SetText("Главное меню\nОкно\n");
    auto* band = s->Bands()->Add()->As<TBand>();
    band->SetCaption("Основные кнопки");
    band->SetWidth(300);
    s->Bands()->Add();
    s->SetBuddy(target);
    s->DirName = "/opt/zel";
    s->HasBlob = true;
    s->Blob = std::string("\0\1\2", 3);
    TWriter writer(stream);
    writer.WriteRootComponent(form);
  }
  stream.SetPosition(0);
  TRootForm form(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(form);
  EXPECT_EQ(stream.Remaining(), 0);
  EXPECT_EQ(form.Name(), "Form1");
  ASSERT_EQ(form.ComponentCount(), 2);
  auto* s = form.FindComponent("settings1")->As<TSettings>();
  EXPECT_EQ(s->Size(), 32);
  EXPECT_FALSE(s->Visible());
  EXPECT_EQ(s->Orientation(), orVertical);
  EXPECT_EQ(s->Ratio(), 0.25);
  EXPECT_EQ(s->Color(), -16777201);
  EXPECT_EQ(s->Lines()->Text(), "Главное меню\nОкно\n");
  ASSERT_EQ(s->Bands()->Count(), 2);
  EXPECT_EQ(s->Bands()->ItemsAs<TBand>(0)->Caption(), "Основные кнопки");
  EXPECT_EQ(s->Bands()->ItemsAs<TBand>(0)->Width(), 300);
  EXPECT_EQ(s->Buddy(), form.FindComponent("Target"));
  EXPECT_EQ(s->DirName, "/opt/zel");
  EXPECT_EQ(s->Blob, std::string("\0\1\2", 3));
  EXPECT_EQ(s->LoadedCount, 1);
  EXPECT_FALSE(s->ComponentState().Contains(csLoading));
  EXPECT_FALSE(form.ComponentState().Contains(csReading));
}

TEST_F(FilerTest, DefaultsAreNotWritten) {
  TSettings s(nullptr);
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteProperties(s);
  // Values at their declared defaults and empty texts are left out; the
  // collection is always stored, so that an emptied one reads back empty.
  stream.SetPosition(0);
  TReader reader(stream);
  std::vector<std::string> names;
  while (!reader.EndOfList()) {
    names.push_back(reader.ReadPropName());
    reader.SkipValue();
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Orientation", "Ratio", "Color", "Bands"}));
}

TEST_F(FilerTest, UnknownPropertiesRaiseOrAreSkipped) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WritePropName("Missing");
  writer.WriteListBegin();
  writer.WriteInteger(1);
  writer.WriteString("x");
  writer.WriteListEnd();
  writer.WritePropName("Size");
  writer.WriteInteger(12);
  writer.WriteListEnd();

  TSettings s(nullptr);
  stream.SetPosition(0);
  TReader strict(stream);
  EXPECT_THROW(strict.ReadProperties(s), EReadError);
  stream.SetPosition(0);
  TReader tolerant(stream);
  tolerant.SetIgnoreUnknownProperties(true);
  tolerant.ReadProperties(s);
  EXPECT_EQ(s.Size(), 12);
}

TEST_F(FilerTest, DamagedStreamsRaiseReadErrors) {
  TMemoryStream good;
  {
    TRootForm form(nullptr);
    auto* s = new TSettings(&form);
    s->SetName("S");
    s->Lines()->Add("x");
    TWriter(good).WriteRootComponent(form);
  }
  // Every cut of the stream is refused, and nothing is left loading.
  for (int64_t cut = 0; cut < good.Size(); ++cut) {
    TMemoryStream part;
    part.WriteBuffer(good.Memory(), cut);
    part.SetPosition(0);
    TRootForm form(nullptr);
    EXPECT_THROW(TReader(part).ReadRootComponent(form), Exception) << cut;
    EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  }
  // A wrong value tag.
  TMemoryStream bad;
  bad.WriteChars("ZCS1");
  bad.WriteStr8("TRootForm");
  bad.WriteStr8("");
  bad.WriteStr8("Tag");
  bad.WriteU8(200);
  bad.SetPosition(0);
  TRootForm form(nullptr);
  EXPECT_THROW(TReader(bad).ReadRootComponent(form), EReadError);
  // A stream of another root class.
  good.SetPosition(0);
  TComponent other(nullptr);
  EXPECT_THROW(TReader(good).ReadRootComponent(other), EReadError);
  // An unregistered class.
  UnRegisterClass(TSettings::StaticClass());
  good.SetPosition(0);
  TRootForm again(nullptr);
  EXPECT_THROW(TReader(good).ReadRootComponent(again), EClassNotFound);
}

} // namespace
} // namespace zel

namespace zel {
namespace {

TEST_F(FilerTest, EveryDamagedByteIsAnErrorOrAValue) {
  TMemoryStream good;
  {
    TRootForm form(nullptr);
    auto* s = new TSettings(&form);
    s->SetName("S");
    s->SetOrientation(orVertical);
    s->Lines()->Add("x");
    s->Bands()->Add()->As<TBand>()->SetCaption("c");
    s->HasBlob = true;
    s->Blob = "blob";
    TWriter(good).WriteRootComponent(form);
  }
  // Each byte in turn takes a few values; the reader either copes or raises
  // one of the framework's exceptions (the sanitizers watch the rest).
  for (int64_t i = 0; i < good.Size(); ++i) {
    for (uint8_t v : {uint8_t(0), uint8_t(1), uint8_t(0x7F), uint8_t(0xFF)}) {
      TMemoryStream damaged;
      damaged.WriteBuffer(good.Memory(), good.Size());
      damaged.Memory()[i] = v;
      damaged.SetPosition(0);
      TRootForm form(nullptr);
      try {
        TReader(damaged).ReadRootComponent(form);
      } catch (const Exception&) {
      }
    }
  }
}

// A component class that cannot be created from a stream.
class TAbstractPart : public TComponent {
  ZEL_CLASS(TAbstractPart, TComponent)
public:
  explicit TAbstractPart(TComponent* owner) : TComponent(owner) {}
};

TEST_F(FilerTest, DamageRaisesTheErrorOfWhatRefusesItAndEveryOneIsAnException) {
  RegisterClass(TBand::StaticClass());
  RegisterClass(TAbstractPart::StaticClass());
  // A root holding one child of the given class and name, with one property.
  auto stream = [](const char* cls, const char* name, auto property) {
    auto m = std::make_unique<TMemoryStream>();
    TWriter w(*m);
    m->WriteChars("ZCS1");
    w.WritePropName("TRootForm");
    m->WriteStr8("");
    w.WriteListEnd();
    w.WritePropName(cls);
    m->WriteStr8(name);
    property(w);
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    m->SetPosition(0);
    return m;
  };
  auto none = [](TWriter&) {};
  auto value = [](const char* prop, auto write) {
    return [=](TWriter& w) {
      w.WritePropName(prop);
      write(w);
    };
  };
  struct {
    std::unique_ptr<TMemoryStream> Stream;
    const TClassInfo& Raised;
  } cases[] = {
      {stream("TNobody", "S", none), EClassNotFound::StaticClass()},
      {stream("TBand", "S", none), EInvalidCast::StaticClass()},
      {stream("TAbstractPart", "S", none), EInvalidOperation::StaticClass()},
      {stream("TSettings", "1st", none), EComponentError::StaticClass()},
      {stream("TSettings", "S", value("Orientation", [](TWriter& w) { w.WriteInteger(7); })),
       EPropertyConvertError::StaticClass()},
      {stream("TSettings", "S", value("Size", [](TWriter& w) { w.WriteString("x"); })),
       EReadError::StaticClass()},
      {stream("TSettings", "S", value("Nothing", [](TWriter& w) { w.WriteInteger(1); })),
       EReadError::StaticClass()},
  };
  for (auto& c : cases) {
    TRootForm form(nullptr);
    try {
      TReader(*c.Stream).ReadRootComponent(form);
      ADD_FAILURE() << c.Raised.ClassName() << ": read";
    } catch (const Exception& e) {
      EXPECT_EQ(&e.ClassType(), &c.Raised) << e.ClassName() << ": " << e.Message();
    }
    EXPECT_FALSE(form.ComponentState().Contains(csLoading)) << c.Raised.ClassName();
  }
  // The same child with a value it takes reads.
  TRootForm form(nullptr);
  TReader(*stream("TSettings", "S", value("Orientation", [](TWriter& w) { w.WriteInteger(1); })))
      .ReadRootComponent(form);
  auto* s = dynamic_cast<TSettings*>(form.FindComponent("S"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Orientation(), orVertical);
  UnRegisterClass(TBand::StaticClass());
  UnRegisterClass(TAbstractPart::StaticClass());
}

TEST_F(FilerTest, DeepNestingIsRefused) {
  TMemoryStream deep;
  for (int i = 0; i < 100000; ++i)
    deep.WriteU8(uint8_t(TValueType::vaList));
  deep.SetPosition(0);
  EXPECT_THROW(TReader(deep).SkipValue(), EReadError);
}

} // namespace
} // namespace zel
