// Font answers kept between runs: believed only while everything they were
// stamped with is unchanged, and a damaged file is never believed.

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

#include "platform/text/FontAnswerFile.h"

namespace zel::sys::testing {
namespace {

class FontAnswerFileTest : public ::testing::Test {
public:
  void SetUp() override {
    char pattern[] = "/tmp/zel-font-answers-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    file_ = dir_ + "/cache/zel/answers"; // two folders that do not exist yet
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  void Put(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name, std::ios::binary | std::ios::trunc) << text;
  }
  std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
  std::string file_;
};

TEST_F(FontAnswerFileTest, AnswersHoldOnlyWhileNothingStampedChanged) {
  struct Case {
    const char* what;
    std::function<void(FontAnswerFileTest&)> change;
    bool holds;
  };
  const std::string env = "fontconfig 1;LANG=ru_RU.UTF-8";
  const std::vector<Case> cases = {
      {"nothing changed", [](FontAnswerFileTest&) {}, true},
      {"a configuration file rewritten",
       [](FontAnswerFileTest& t) { t.Put("fonts.conf", "<changed/>"); }, false},
      {"a configuration file removed",
       [](FontAnswerFileTest& t) { ::unlink((t.dir_ + "/fonts.conf").c_str()); }, false},
      {"a missing user file appeared", [](FontAnswerFileTest& t) { t.Put("user.conf", ""); },
       false},
      {"an answered font replaced", [](FontAnswerFileTest& t) { t.Put("Face.ttf", "other bytes"); },
       false},
  };
  for (const Case& c : cases) {
    Put("fonts.conf", "<fontconfig/>");
    Put("Face.ttf", "font bytes");
    ::unlink((dir_ + "/user.conf").c_str());
    FontAnswers answers;
    answers.environment = env;
    for (const char* name : {"fonts.conf", "Face.ttf", "user.conf"})
      answers.stamps.push_back(StampOf(dir_ + "/" + name));
    answers.answers["tahoma|400|r"] = ResolvedFont{dir_ + "/Face.ttf", 2};
    answers.answers["tahoma|700|i"] = std::nullopt;
    ASSERT_TRUE(WriteFontAnswers(file_, answers)) << c.what;
    c.change(*this);
    const auto read = ReadFontAnswers(file_, env);
    ASSERT_EQ(read.has_value(), c.holds) << c.what;
    if (!read) continue;
    EXPECT_EQ(read->stamps, answers.stamps);
    EXPECT_EQ(read->answers, answers.answers);
    EXPECT_FALSE(ReadFontAnswers(file_, env + ";LC_ALL=C")) << "another environment";
  }
}

TEST_F(FontAnswerFileTest, DamagedOrForeignFilesAreNotBelieved) {
  Put("fonts.conf", "x");
  const std::string stamp = "path\t1\t" + std::to_string(StampOf(dir_ + "/fonts.conf").mtimeNs) +
                            "\t1\t" + dir_ + "/fonts.conf\n";
  const std::string head = "zel font answers 1\nenv\tE\n";
  const std::string good = head + stamp + "font\tk|400|r\t0\t/f.ttf\n";
  Put("answers", good);
  ASSERT_TRUE(ReadFontAnswers(dir_ + "/answers", "E")) << "the well-formed file of the table";
  for (const std::string& text :
       {std::string(), std::string("zel font answers 2\nenv\tE\n") + stamp,
        head,                                         // nothing to check the answers against
        head + stamp + "font\tk|400|r\t-1\t/f.ttf\n", // a negative face index
        head + stamp + "font\tk|400|r\t0\n",          // a field missing
        head + stamp + "font\tk\t0\t/f.ttf\textra\n", // a field too many
        head + stamp + "path\t2\t0\t0\t/x\n",         // neither present nor missing
        head + stamp + "path\t1\t12x\t0\t/x\n",       // not a number
        head + stamp + "fonts\tk\t0\t/f.ttf\n",       // an unknown line
        head + stamp + std::string(300 * 1024, 'x')}) {
    Put("answers", text);
    EXPECT_FALSE(ReadFontAnswers(dir_ + "/answers", "E")) << text.substr(0, 120);
  }
  EXPECT_FALSE(ReadFontAnswers(dir_ + "/no such file", "E"));
  // What cannot be written on one line is not written at all.
  FontAnswers answers;
  answers.environment = "E";
  answers.stamps.push_back(StampOf(dir_ + "/fonts.conf"));
  answers.answers["a\nkey"] = std::nullopt;
  EXPECT_FALSE(WriteFontAnswers(dir_ + "/answers2", answers));
  EXPECT_EQ(Text(dir_ + "/answers2"), "");
}

// The second resolver has an empty fontconfig configuration, which knows
// no font at all: it can only answer from the file the first one wrote.
TEST_F(FontAnswerFileTest, KeptAnswersSpareFontconfigOnTheNextRun) {
  // A home of the test's own, whose user configuration the answers depend on.
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  ::setenv("HOME", dir_.c_str(), 1);
  std::optional<ResolvedFont> first;
  {
    FcConfig* installed = FcInitLoadConfigAndFonts(); // the fonts of this machine
    ASSERT_NE(installed, nullptr);
    FontResolver resolver(installed);
    resolver.KeepAnswersIn(file_);
    first = resolver.Resolve("Tahoma", 400, false);
    FcConfigDestroy(installed);
    ASSERT_TRUE(first.has_value());
  }
  EXPECT_NE(Text(file_).find(first->file), std::string::npos);

  FcConfig* empty = FcConfigCreate();
  ASSERT_NE(empty, nullptr);
  {
    FontResolver resolver(empty);
    resolver.KeepAnswersIn(file_);
    EXPECT_EQ(resolver.Resolve("TAHOMA", 400, false), first) << "kept, and keyed without case";
    EXPECT_FALSE(resolver.Resolve("Tahoma", 700, true).has_value()) << "not kept: asked anew";
  }
  {
    // The user gave fontconfig a configuration of their own: the kept
    // answers may be wrong now, so fontconfig is asked (and knows nothing).
    Put(".fonts.conf", "<fontconfig/>");
    FontResolver resolver(empty);
    resolver.KeepAnswersIn(file_);
    EXPECT_FALSE(resolver.Resolve("Tahoma", 400, false).has_value());
  }
  FcConfigDestroy(empty);
  if (home)
    ::setenv("HOME", savedHome.c_str(), 1);
  else
    ::unsetenv("HOME");
}

} // namespace
} // namespace zel::sys::testing
