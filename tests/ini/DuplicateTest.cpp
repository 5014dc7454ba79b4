// Sections that share a name once letter case is ignored.
#include <clocale>
#include <random>

#include "IniTestSupport.h"

namespace ini::test {
namespace {

using Lines = std::vector<std::string>;

struct Call {
  std::string name;
  Lines keep;
  Lines discard;
  bool operator==(const Call&) const = default;
};

class DuplicateTest : public IniTest {
 protected:
  void SetUp() override {
    IniTest::SetUp();
    Put("d.ini",
        "[A]\r\na=1\r\n[b]\r\nb=1\r\n[a]\r\na=2\r\n[B]\r\nb=2\r\n[A]\r\na=3\r\n[C]\r\nc=1\r\n");
  }

  // Loads d.ini with a handler that records its calls and answers Answer.
  std::vector<Call> LoadWith(TBigIniFile& ini, bool answer) {
    std::vector<Call> calls;
    ini.OnDuplicateSection = [&calls, answer](const std::string& name, TLineList& keep,
                                              TLineList& discard) {
      calls.push_back({name, keep.ToStrings(), discard.ToStrings()});
      return answer;
    };
    ini.Load(Path("d.ini"));
    return calls;
  }
};

TEST_F(DuplicateTest, FirstOfEachGroupSurvivesInFileOrder) {
  TBiggerIniFile ini(Path("d.ini"));
  EXPECT_EQ(Export(ini), (Lines{"[A]", "a=1", "", "[b]", "b=1", "", "[C]", "c=1", ""}));
  EXPECT_FALSE(ini.Modified);
  EXPECT_EQ(ini.Sections.LastFound, 0);
}

TEST_F(DuplicateTest, HandlerSeesGroupsInSortedOrder) {
  TBiggerIniFile ini("");
  const std::vector<Call> calls = LoadWith(ini, true);
  EXPECT_EQ(calls, (std::vector<Call>{
                       {"a", {"a=1"}, {"a=2"}}, {"A", {"a=1"}, {"a=3"}}, {"B", {"b=1"}, {"b=2"}}}));
  EXPECT_EQ(Export(ini), (Lines{"[A]", "a=1", "", "[b]", "b=1", "", "[C]", "c=1", ""}));
  EXPECT_TRUE(ini.Modified);
  ini.Modified = false;
}

TEST_F(DuplicateTest, HandlerAnsweringFalseKeepsTheLaterSection) {
  TBiggerIniFile ini("");
  const std::vector<Call> calls = LoadWith(ini, false);
  // In a group of three, the survivor of the first pair meets the third.
  EXPECT_EQ(calls, (std::vector<Call>{
                       {"a", {"a=1"}, {"a=2"}}, {"A", {"a=2"}, {"a=3"}}, {"B", {"b=1"}, {"b=2"}}}));
  EXPECT_EQ(Export(ini), (Lines{"[B]", "b=2", "", "[A]", "a=3", "", "[C]", "c=1", ""}));
  ini.Modified = false;
}

TEST_F(DuplicateTest, HandlerMayMergeLines) {
  TBiggerIniFile ini("");
  ini.OnDuplicateSection = [](const std::string&, TLineList& keep, TLineList& discard) {
    for (std::string_view line : discard) keep.Add(line);
    discard.Add("dropped anyway");
    return true;
  };
  ini.Load(Path("d.ini"));
  EXPECT_EQ(ini.Sections.SectionLines(0).ToStrings(), (Lines{"a=1", "a=2", "a=3"}));
  EXPECT_EQ(ini.Sections.SectionLines(1).ToStrings(), (Lines{"b=1", "b=2"}));
  ini.Modified = false;
}

TEST_F(DuplicateTest, DuplicatesVanishFromFileWithTheNextWrite) {
  {
    TBiggerIniFile ini(Path("d.ini"));
    ini.WriteString("c", "c", "2");
  }
  EXPECT_EQ(Get("d.ini"), "[A]\r\na=1\r\n\r\n[b]\r\nb=1\r\n\r\n[C]\r\nc=2\r\n\r\n");
}

// Many sections with names drawn from a small pool in random letter case: the outcome
// must be that of keeping the first of every name.
TEST_F(DuplicateTest, ManyRandomSectionsKeepFirstOfEachName) {
  std::mt19937 rng(7);
  std::string text;
  std::vector<std::pair<std::string, std::string>> expected;
  std::vector<std::string> seen;
  for (int i = 0; i < 3000; ++i) {
    std::string name = "sect" + std::to_string(rng() % 1500);
    for (char& c : name) {
      if (rng() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string line = "n=" + std::to_string(i);
    text += "[" + name + "]\r\n" + line + "\r\n";
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (std::find(seen.begin(), seen.end(), folded) == seen.end()) {
      seen.push_back(folded);
      expected.emplace_back(name, line);
    }
  }
  Put("r.ini", text);
  TBiggerIniFile ini(Path("r.ini"));
  ASSERT_EQ(ini.Sections.Count(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ini.Sections[static_cast<int>(i)], expected[i].first);
    EXPECT_EQ(ini.Sections.SectionLines(static_cast<int>(i))[0], expected[i].second);
  }
}

TEST_F(DuplicateTest, BytesAbove127FoldOnlyAsTheLocaleSays) {
  Put("e.ini", "[\xe9t\xe9]\r\nk=1\r\n[\xc9T\xc9]\r\nk=2\r\n");
  {
    TBiggerIniFile ini(Path("e.ini"));
    EXPECT_EQ(ini.Sections.Count(), 2) << "no letters above 127 in the C locale";
    EXPECT_EQ(ini.ReadString("\xe9T\xe9", "K", ""), "1");
  }
  const std::string old = std::setlocale(LC_CTYPE, nullptr);
  for (const char* name : {"en_US.ISO-8859-1", "de_DE.ISO-8859-1", "fr_FR.ISO-8859-1"}) {
    if (!std::setlocale(LC_CTYPE, name)) continue;
    TBiggerIniFile ini(Path("e.ini"));
    EXPECT_EQ(ini.Sections.Count(), 1);
    std::setlocale(LC_CTYPE, old.c_str());
    return;
  }
  std::setlocale(LC_CTYPE, old.c_str());
  GTEST_SKIP() << "no single-byte locale installed";
}

}  // namespace
}  // namespace ini::test
