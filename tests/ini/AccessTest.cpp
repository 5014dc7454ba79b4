// Reads and writes in memory: values, keys, sections and where the searches stand.
#include "IniTestSupport.h"

namespace ini::test {
namespace {

using Lines = std::vector<std::string>;

class AccessTest : public IniTest {
 protected:
  void SetUp() override {
    IniTest::SetUp();
    Put("a.ini", "[One]\r\nk=1\r\nK=dup\r\nempty=\r\nnoeq\r\n[Two]\r\nx=2\r\n[Three]\r\ny=3\r\n");
  }
};

TEST_F(AccessTest, ReadStringFindsFirstKeyIgnoringCase) {
  TBiggerIniFile ini(Path("a.ini"));
  EXPECT_EQ(ini.ReadString("one", "K", "D"), "1");
  EXPECT_EQ(ini.ReadString("One", "empty", "D"), "");
  EXPECT_EQ(ini.ReadString("One", "noeq", "D"), "D");
  EXPECT_EQ(ini.ReadString("One", "missing", "D"), "D");
  EXPECT_EQ(ini.ReadString("Nope", "k", "D"), "D");
  EXPECT_EQ(ini.ReadString("One", "k=1", "D"), "D");
  EXPECT_EQ(ini.ReadString("One", "", "D"), "D");
  EXPECT_EQ(ini.ReadString("One", "k", std::string(300, 'd')), "1");
  EXPECT_EQ(ini.ReadString("One", "zz", std::string(300, 'd')), std::string(255, 'd'));
  EXPECT_FALSE(ini.Modified);
}

TEST_F(AccessTest, WriteStringReplacesAppendsOrLeavesAlone) {
  TBiggerIniFile ini(Path("a.ini"));
  ini.WriteString("ONE", "k", "1");
  EXPECT_FALSE(ini.Modified) << "an identical line changes nothing";
  ini.WriteString("ONE", "K", "1");
  EXPECT_TRUE(ini.Modified) << "the key's letter case is part of the line";
  EXPECT_EQ(ini.Sections.SectionLines(0)[0], "K=1");
  EXPECT_EQ(ini.Sections.SectionLines(0)[1], "K=dup");
  ini.WriteString("Two", "new", "v=w");
  ini.WriteString("Four", "z", "");
  ini.Modified = false;
  EXPECT_EQ(Export(ini), (Lines{"[One]", "K=1", "K=dup", "empty=", "noeq", "", "[Two]", "x=2",
                                "new=v=w", "", "[Three]", "y=3", "", "[Four]", "z=", ""}));
}

TEST_F(AccessTest, WriteStringCutsTextAt255) {
  TBiggerIniFile ini(Path("a.ini"));
  const std::string key(10, 'k');
  ini.WriteString("Long", key, std::string(300, 'v'));
  EXPECT_EQ(ini.Sections.SectionLines(3)[0].size(), 255u);
  EXPECT_EQ(ini.ReadString("Long", key, ""), std::string(244, 'v'));
  // Section names and keys are cut as well.
  ini.WriteString(std::string(300, 's'), std::string(300, 'k'), "v");
  EXPECT_EQ(ini.Sections[4], std::string(255, 's'));
  EXPECT_EQ(ini.Sections.SectionLines(4)[0], std::string(255, 'k'));
  EXPECT_EQ(ini.ReadString(std::string(255, 's'), std::string(254, 'k'), "D"), "D");
}

TEST_F(AccessTest, WriteStringWithEmptyKeyErasesOrFlushes) {
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.WriteString("Two", "", "");
    EXPECT_TRUE(ini.Modified);
    EXPECT_EQ(ini.Sections.IndexOf("Two"), -1);
    ini.WriteString("", "", "v");  // no section named "": nothing
    ini.WriteString("", "", "");
    EXPECT_FALSE(ini.Modified);
    EXPECT_EQ(Get("a.ini"),
              "[One]\r\nk=1\r\nK=dup\r\nempty=\r\nnoeq\r\n\r\n[Three]\r\ny=3\r\n\r\n");
  }
}

TEST_F(AccessTest, IntegersAndBooleans) {
  Put("n.ini",
      "[N]\r\ndec=42\r\nneg= "
      "-17\r\nhex=0x1F\r\nhex2=0XfF\r\ndollar=$7fffffff\r\nmin=-2147483648\r\n"
      "over=2147483648\r\nunder=-2147483649\r\njunk=12a\r\nblank=\r\nword=true\r\ntwo=2\r\n"
      "tab=\t5\r\nallbits=$FFFFFFFF\r\nspacedhex= 0x10\r\nsignedhex=-0x10\r\n");
  TBiggerIniFile ini(Path("n.ini"));
  EXPECT_EQ(ini.ReadInteger("N", "dec", -1), 42);
  EXPECT_EQ(ini.ReadInteger("N", "neg", -1), -17);
  EXPECT_EQ(ini.ReadInteger("N", "hex", -1), 31);
  EXPECT_EQ(ini.ReadInteger("N", "hex2", -1), 255);
  EXPECT_EQ(ini.ReadInteger("N", "dollar", -1), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "min", -1), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("N", "allbits", 0), -1);
  for (const char* bad :
       {"over", "under", "junk", "blank", "word", "tab", "missing", "spacedhex", "signedhex"}) {
    EXPECT_EQ(ini.ReadInteger("N", bad, 7), 7) << bad;
  }
  EXPECT_TRUE(ini.ReadBool("N", "two", false));
  EXPECT_TRUE(ini.ReadBool("N", "neg", false));
  EXPECT_TRUE(ini.ReadBool("N", "word", true));
  EXPECT_FALSE(ini.ReadBool("N", "word", false));

  ini.WriteInteger("W", "i", -5);
  ini.WriteInteger("W", "m", INT32_MIN);
  ini.WriteBool("W", "t", true);
  ini.WriteBool("W", "f", false);
  EXPECT_EQ(ini.Sections.SectionLines(1).ToStrings(),
            (Lines{"i=-5", "m=-2147483648", "t=1", "f=0"}));
  ini.Modified = false;
}

TEST_F(AccessTest, SectionListings) {
  TBiggerIniFile ini(Path("a.ini"));
  Lines keys{"kept"};
  ini.ReadSection("one", keys);
  EXPECT_EQ(keys, (Lines{"kept", "k", "K", "empty", ""}));
  ini.ReadSection("none", keys);
  EXPECT_EQ(keys.size(), 5u);

  Lines values{"kept"};
  ini.ReadSectionValues("ONE", values);
  EXPECT_EQ(values, (Lines{"kept", "k=1", "K=dup", "empty=", "noeq"}));

  ini.DeleteKey("Two", "x");
  Lines names{"gone"};
  ini.ReadSections(names);
  EXPECT_EQ(names, (Lines{"One", "Two", "Three"})) << "sections without lines are listed";
  ini.Modified = false;
}

TEST_F(AccessTest, DeleteKeyAndEraseSection) {
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.DeleteKey("Zero", "k");
    EXPECT_FALSE(ini.Modified);
    EXPECT_EQ(ini.Sections.Count(), 4) << "a missing section is created empty";
    ini.DeleteKey("One", "K");
    EXPECT_EQ(ini.ReadString("One", "k", ""), "dup");
    ini.DeleteKey("Two", "x");
    ini.EraseSection("missing");
    ini.EraseSection("one");
    // Writes after an erase recreate the section at the end.
    ini.WriteString("One", "k", "again");
  }
  EXPECT_EQ(Get("a.ini"), "[Three]\r\ny=3\r\n\r\n[One]\r\nk=again\r\n\r\n");
}

TEST_F(AccessTest, EraseOfMissingSectionLeavesModifiedAlone) {
  TBiggerIniFile ini(Path("a.ini"));
  ini.EraseSection("Nope");
  EXPECT_FALSE(ini.Modified);
}

TEST_F(AccessTest, SearchPositions) {
  TBiggerIniFile ini(Path("a.ini"));
  EXPECT_EQ(ini.CurrentSection, 0);
  EXPECT_EQ(ini.Sections.LastFound, 0);
  ini.ReadString("Three", "y", "");
  EXPECT_EQ(ini.CurrentSection, 2);
  // A failed search ends on the entry before its start.
  ini.ReadString("Nope", "y", "");
  EXPECT_EQ(ini.CurrentSection, 1);
  ini.ReadString("One", "k", "");
  EXPECT_EQ(ini.CurrentSection, 0);
  ini.WriteString("Four", "k", "v");
  EXPECT_EQ(ini.CurrentSection, 3);

  Lines sink;
  ini.ReadSection("Two", sink);
  EXPECT_EQ(ini.Sections.LastFound, 1);
  EXPECT_EQ(ini.Sections.IndexOf("nope"), -1);
  EXPECT_EQ(ini.Sections.LastFound, 1);
  EXPECT_EQ(ini.Sections.IndexOf("ONE"), 0);
  ini.Sections.LastFound = 2;
  ini.ReadSectionValues("Four", sink);
  EXPECT_EQ(ini.Sections.LastFound, 3);
  // Removing a section resets LastFound, and CurrentSection when it falls off the end.
  ini.EraseSection("Four");
  EXPECT_EQ(ini.Sections.LastFound, 0);
  EXPECT_EQ(ini.CurrentSection, 0);
  ini.CurrentSection = 1;
  ini.EraseSection("One");
  EXPECT_EQ(ini.CurrentSection, 1);
  ini.Modified = false;
}

TEST_F(AccessTest, OutOfRangePositionsAreSafe) {
  TBiggerIniFile ini(Path("a.ini"));
  ini.CurrentSection = 99;
  ini.Sections.LastFound = -4;
  EXPECT_EQ(ini.ReadString("Two", "x", ""), "2");
  EXPECT_EQ(ini.Sections.IndexOf("Three"), 2);
}

TEST_F(AccessTest, LineListCopiesOwnTheirText) {
  TLineList copy;
  {
    TBiggerIniFile ini(Path("a.ini"));
    copy = ini.Sections.SectionLines(0);
    TLineList& lines = ini.Sections.SectionLines(1);
    lines.Insert(0, "first");
    lines.Add(lines[0]);
    lines.Put(1, lines[1]);
    EXPECT_EQ(lines.ToStrings(), (Lines{"first", "x=2", "first"}));
    ini.Modified = false;
  }
  EXPECT_EQ(copy.ToStrings(), (Lines{"k=1", "K=dup", "empty=", "noeq"}));
}

// Loaded lines borrow the file's text; a list moved out must not, or it reads freed
// memory once the object is gone (a crash in the child, or a report under AddressSanitizer).
TEST_F(AccessTest, LineListsMovedOutOwnTheirText) {
  const int code = InChild([this] {
    TLineList constructed, assigned, swapped;
    swapped.Add("mine");
    {
      TBiggerIniFile ini(Path("a.ini"));
      TLineList moved(std::move(ini.Sections.SectionLines(0)));
      constructed = std::move(moved);
      assigned = std::move(ini.Sections.SectionLines(1));
      std::swap(swapped, ini.Sections.SectionLines(2));
      if (!ini.Sections.SectionLines(0).Empty()) return 1;
      if (ini.Sections.SectionLines(2).ToStrings() != Lines{"mine"}) return 2;
      ini.Modified = false;
    }
    if (constructed.ToStrings() != Lines{"k=1", "K=dup", "empty=", "noeq"}) return 3;
    if (assigned.ToStrings() != Lines{"x=2"}) return 4;
    return swapped.ToStrings() == Lines{"y=3"} ? 0 : 5;
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace ini::test
