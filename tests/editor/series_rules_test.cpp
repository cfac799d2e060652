#include "editor/series_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gk {
namespace {

TEST(SeriesRules, PrefixIsLeadingDigitsOrLeadingLetters) {
  struct Case {
    std::string name, prefix;
  } cases[] = {
      {"hero2.bmp", "hero"},
      {"Hero3.bmp", "Hero"},
      {"HERO2.bmp", "HERO"},
      {"12.bmp", "12"},
      {"12a.bmp", "12"},
      {"1hero.bmp", "1"},
      {"_a.bmp", ""},
      {"-x.bmp", ""},
      {".hero.bmp", ""},
      {"", ""},
      {"abc", "abc"},
      {"007", "007"},
      {"\xc3\xa9t\xc3\xa9.bmp", ""},  // a name starting outside ASCII
      {"ab\xc3\xa9.bmp", "ab"},       // a byte above 127 ends the run
      {"a b.bmp", "a"},
      {"x9z.bmp", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(SeriesPrefix(c.name), c.prefix) << c.name;
}

TEST(SeriesRules, MembershipNeedsBmpPatternAndCaseSensitivePrefix) {
  struct Case {
    std::string name, prefix;
    bool kept;
  } cases[] = {
      {"hero1.bmp", "hero", true},
      {"hero.BMP", "hero", true},
      {"heroX.Bmp", "hero", true},
      {"Hero3.bmp", "hero", false},
      {"hero1.png", "hero", false},
      {"hero1.bmpx", "hero", false},
      {"hero1.bmp.bak", "hero", false},
      {"hero", "hero", false},
      {".bmp", "", false},
      {"_a.bmp", "", false},
      {"hello.bmp", "hero", false},
      {"he.bmp", "hero", false},
      {"HERO2.bmp", "HERO", true},
      {"hero2.bmp", "HERO", false},
      {"120.bmp", "12", true},
      {"21.bmp", "12", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InSeries(c.name, c.prefix), c.kept) << c.name << " / " << c.prefix;
  }
}

TEST(SeriesRules, SortOrdersPunctuationDigitsLettersIgnoringCase) {
  // Each list is in ascending order.
  const std::vector<std::vector<std::string>> orders = {
      {"hero1.bmp", "hero10.bmp", "hero2.bmp", "heroine.bmp"},
      {"a1.bmp", "a10.bmp", "a2.bmp"},
      {"12.bmp", "120.bmp", "12a.bmp"},
      {"hero.bmp", "hero1.bmp", "heroa.bmp"},
      {"hero", "hero.bmp"},
      {"a_b.bmp", "a1.bmp", "aB.bmp", "ac.bmp"},
      {"x-1.bmp", "x.bmp", "x0.bmp"},
      {"a\xc3\xa9.bmp", "a0.bmp"},  // bytes above 127 count as punctuation
      {"HERO.bmp", "hero.bmp", "Hero1.bmp", "hero2.bmp", "HEROINE.bmp"},
  };
  for (const auto& order : orders) {
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
      EXPECT_TRUE(SeriesLess(order[i], order[i + 1])) << order[i] << " < " << order[i + 1];
      EXPECT_FALSE(SeriesLess(order[i + 1], order[i])) << order[i + 1] << " < " << order[i];
    }
  }
}

TEST(SeriesRules, SortIsAStrictTotalOrder) {
  const std::vector<std::string> names = {
      "",        "a",      "A",      "a.bmp",  "A.BMP",  "a.Bmp",  "a1.bmp", "A1.bmp",
      "a10.bmp", "a2.bmp", "a_.bmp", "a-.bmp", "aa.bmp", "aB.bmp", "ab.bmp", "Z.bmp",
      "0.bmp",   "\xff",   "\x80x",  "_",      "[",      "`",      "{",      "a b",
  };
  auto less = [](const std::string& a, const std::string& b) { return SeriesLess(a, b); };
  for (const auto& a : names) {
    EXPECT_FALSE(less(a, a)) << a;
    for (const auto& b : names) {
      if (a != b) {
        EXPECT_NE(less(a, b), less(b, a)) << a << " / " << b;
      }
      for (const auto& c : names) {
        if (less(a, b) && less(b, c)) {
          EXPECT_TRUE(less(a, c)) << a << " < " << b << " < " << c;
        }
      }
    }
  }
}

TEST(SeriesRules, IncrementalNameAdvances) {
  struct Case {
    std::string from, to;
  } cases[] = {
      {"/d/hero1.bmp", "/d/hero1a.bmp"},
      {"/d/hero1a.bmp", "/d/hero1b.bmp"},
      {"/d/hero.bmp", "/d/herp.bmp"},
      {"/d/x9y.bmp", "/d/x9z.bmp"},
      {"rel.bmp", "rem.bmp"},
      // The first ".bmp" decides, even inside the folder part.
      {"/d/pics.bmp/hero.bmp", "/d/pict.bmp/hero.bmp"},
      {"/d/x1.bmp/hero.bmp", "/d/x1a.bmp"},
      {"/d/hero1.bmp.bak", "/d/hero1a.bmp"},
      {"/d/hero.bmpx", "/d/herp.bmpx"},
  };
  for (const auto& c : cases) {
    IncrementalName next = NextIncrementalName(c.from);
    EXPECT_EQ(next.outcome, IncrementalName::Outcome::Advanced) << c.from;
    EXPECT_EQ(next.path, c.to) << c.from;
  }
}

TEST(SeriesRules, IncrementalNameRefusals) {
  using Outcome = IncrementalName::Outcome;
  struct Case {
    std::string path;
    Outcome outcome;
  } cases[] = {
      {"", Outcome::CannotAdvance},
      {"/d/x9z.bmp", Outcome::CannotAdvance},
      {"/d/heroA.bmp", Outcome::CannotAdvance},
      {"/d/hero_.bmp", Outcome::CannotAdvance},
      {"/d/hero .bmp", Outcome::CannotAdvance},
      {"/d/her\xc3\xa9.bmp", Outcome::CannotAdvance},
      {"/d/.bmp", Outcome::CannotAdvance},
      {"/d/hero.BMP", Outcome::NoBmpSuffix},
      {"/d/HERO1.BMP", Outcome::NoBmpSuffix},
      {"/d/hero", Outcome::NoBmpSuffix},
      {".bmp", Outcome::NoBmpSuffix},
      {".bmp/a.bmp", Outcome::NoBmpSuffix},
  };
  for (const auto& c : cases) {
    IncrementalName next = NextIncrementalName(c.path);
    EXPECT_EQ(next.outcome, c.outcome) << c.path;
    EXPECT_TRUE(next.path.empty()) << c.path;
  }
}

}  // namespace
}  // namespace gk
