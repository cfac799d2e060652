#include "settings/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace gk {
namespace {

using Lines = std::vector<std::string>;

Settings FromLines(const Lines& lines) {
  Settings settings;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  settings.SetText(text);
  return settings;
}

TEST(SettingsTest, LookupFindsTheFirstNameIgnoringCaseWithoutTrimming) {
  const Settings settings =
      FromLines({"[Section]", "width=40", "Width=50", "Width =32", "Height= 32", "noequals", "",
                 "Key=a=b", "Save256=1 ", "=bare", "DotSize="});
  struct Case {
    std::string_view name;
    std::string expected;
  };
  const Case cases[] = {
      {"Width", "40"}, {"WIDTH", "40"},   {"Width ", "32"}, {"Height", " 32"},
      {"Key", "a=b"},  {"Save256", "1 "}, {"noequals", ""}, {"[Section]", ""},
      {"Missing", ""}, {"", "bare"},      {"DotSize", ""},  {"Heigh", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settings.LookupSetting(c.name), c.expected) << "name: '" << c.name << "'";
  }
}

TEST(SettingsTest, StoreReplacesInPlaceAppendsOrRemoves) {
  struct Step {
    std::string_view name, value;
  };
  struct Case {
    const char* what;
    Lines before;
    std::vector<Step> steps;
    Lines after;
  };
  const Case cases[] = {
      {"replace keeps the place and takes the caller's spelling",
       {"a=1", "dotsize=20", "b=2"},
       {{"DotSize", "30"}},
       {"a=1", "DotSize=30", "b=2"}},
      {"only the first of equal names is replaced",
       {"Width=40", "Width=50"},
       {{"Width", "60"}},
       {"Width=60", "Width=50"}},
      {"a missing name is appended",
       {"[x]", ""},
       {{"Png", "1"}, {"Save256", "0"}},
       {"[x]", "", "Png=1", "Save256=0"}},
      {"an empty value removes the first entry only",
       {"Width=40", "x", "width=50"},
       {{"WIDTH", ""}},
       {"x", "width=50"}},
      {"an empty value for a missing name changes nothing", {"a=1"}, {{"b", ""}}, {"a=1"}},
      {"a name with a trailing blank is another name",
       {"Width =40"},
       {{"Width", "1"}},
       {"Width =40", "Width=1"}},
      {"a line without '=' is never replaced", {"Width"}, {{"Width", "1"}}, {"Width", "Width=1"}},
  };
  for (const Case& c : cases) {
    Settings settings = FromLines(c.before);
    for (const Step& step : c.steps) settings.StoreSetting(step.name, step.value);
    EXPECT_EQ(settings.Lines(), c.after) << c.what;
  }
}

TEST(SettingsTest, SetTextSplitsLinesAtEveryLineEnd) {
  using namespace std::string_view_literals;
  struct Case {
    std::string_view bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"\n\n\n", {"", "", ""}},
      {"a\n\r", {"a", ""}},
      {" x = y \r\n", {" x = y "}},
      {"a=1\0b=2\r\n"sv, {"a=1"}},
      {"\0a=1"sv, {}},
      {"\xe8\x89\xb2=\xff\r\n", {"\xe8\x89\xb2=\xff"}},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.SetText("old\r\n");
    settings.SetText(c.bytes);
    EXPECT_EQ(settings.Lines(), c.lines) << "bytes: '" << c.bytes << "'";
  }
}

TEST(SettingsTest, TextEndsEveryLineWithCrLfAndReadsBackTheSameLines) {
  const std::vector<Lines> lists = {
      {}, {""}, {"a"}, {"Width=40", "", "[x]", "unknown=1", ""}, {"", "", ""}};
  for (const Lines& lines : lists) {
    Settings settings = FromLines(lines);
    std::string expected;
    for (const std::string& line : lines) expected += line + "\r\n";
    EXPECT_EQ(settings.Text(), expected);
    Settings again;
    again.SetText(settings.Text());
    EXPECT_EQ(again.Lines(), lines);
  }
}

}  // namespace
}  // namespace gk
