// What Flush writes, when it writes, and how it replaces the file.
#include <sys/stat.h>

#include "IniTestSupport.h"
#include "ini/IniText.h"

namespace ini::test {
namespace {

struct stat StatOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
}

class SaveTest : public IniTest {};

TEST_F(SaveTest, WrittenForm) {
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.WriteString("Settings", "SetTimer", "Off");
    ini.WriteString("Settings", "SetCustom", "3");
    ini.WriteString("Empty", "k", "v");
    ini.DeleteKey("Empty", "k");
  }
  EXPECT_EQ(Get("a.ini"), "[Settings]\r\nSetTimer=Off\r\nSetCustom=3\r\n\r\n");
}

TEST_F(SaveTest, NothingWrittenUnlessModified) {
  Put("a.ini", "[S]\nstays as it is");
  const struct stat before = StatOf(Path("a.ini"));
  ::usleep(20000);
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.ReadString("S", "k", "");
    ini.Flush();
  }
  {
    Put("b.ini", "[S]\r\nk=v\r\n");
    TBiggerIniFile ini(Path("b.ini"));
    ini.WriteString("s", "K", "v");  // the key's letter case differs: rewritten
  }
  const struct stat after = StatOf(Path("a.ini"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(Get("a.ini"), "[S]\nstays as it is");
  EXPECT_EQ(Get("b.ini"), "[S]\r\nK=v\r\n\r\n");

  // An object without a file name has nowhere to write and only forgets the change.
  TBiggerIniFile none("");
  none.WriteString("S", "k", "v");
  none.Flush();
  EXPECT_FALSE(none.Modified);
}

TEST_F(SaveTest, IdenticalWriteLeavesFileUntouched) {
  Put("a.ini", "[S]\r\nk=v\r\n");
  const struct stat before = StatOf(Path("a.ini"));
  ::usleep(20000);
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.WriteString("S", "k", "v");
    EXPECT_FALSE(ini.Modified);
  }
  const struct stat after = StatOf(Path("a.ini"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(SaveTest, DroppedTextDoesNotComeBack) {
  Put("a.ini", "lost=1\r\n[A]\r\n\r\na=1\r\n; kept\r\n[a]\r\ngone=1\r\n[B]\r\n" +
                   std::string(300, 'b') + "\r\nx\x1atail");
  {
    TBiggerIniFile ini(Path("a.ini"));
    EXPECT_FALSE(ini.Modified) << "duplicates go only with a later write";
    ini.WriteString("B", "y", "2");
  }
  EXPECT_EQ(Get("a.ini"),
            "[A]\r\na=1\r\n; kept\r\n\r\n[B]\r\n" + std::string(255, 'b') + "\r\nx\r\ny=2\r\n\r\n");
}

TEST_F(SaveTest, LargeContentGoesThroughTheBuffer) {
  std::string expected;
  {
    TBiggerIniFile ini(Path("big.ini"));
    for (int s = 0; s < 300; ++s) {
      const std::string name = "Section" + std::to_string(s);
      expected += "[" + name + "]\r\n";
      for (int k = 0; k < 10; ++k) {
        const std::string key = "Key" + std::to_string(k);
        const std::string value = std::string(static_cast<size_t>(s % 50), 'v') + "!";
        ini.WriteString(name, key, value);
        expected += key + "=" + value + "\r\n";
      }
      expected += "\r\n";
    }
    ASSERT_GT(expected.size(), 3u * 0x7000);
  }
  EXPECT_EQ(Get("big.ini"), expected);
  for (int32_t bufferSize : {0, -1, 1}) {
    TBiggerIniFile ini("");
    ini.IoBufferSize = bufferSize;
    ini.SetFileName(Path("big.ini"));
    EXPECT_EQ(ini.ReadString("Section299", "Key9", ""), std::string(49, 'v') + "!");
    ini.Modified = true;
    ini.SetFileName(Path("copy.ini"));  // writes big.ini back first
    EXPECT_EQ(Get("big.ini"), expected) << bufferSize;
  }
}

TEST_F(SaveTest, SaveReplacesFileAndKeepsItsMode) {
  Put("a.ini", "[S]\r\nk=1\r\n");
  ::chmod(Path("a.ini").c_str(), 0640);
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.WriteString("S", "k", "2");
  }
  EXPECT_EQ(Get("a.ini"), "[S]\r\nk=2\r\n\r\n");
  EXPECT_EQ(StatOf(Path("a.ini")).st_mode & 07777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"a.ini"}) << "no temporary file is left";
}

TEST_F(SaveTest, AFileWhoseNameIsNearTheLimitIsSavedToo) {
  const std::string name(kMaxText - Path("").size(), 'n');
  for (const char* before : {"", "[S]\r\nk=1\r\n"}) {
    if (*before) Put(name, before);
    {
      TBiggerIniFile ini(Path(name));
      ini.WriteString("S", "k", "2");
    }
    EXPECT_EQ(Get(name), "[S]\r\nk=2\r\n\r\n") << before;
    EXPECT_EQ(Names(), std::vector<std::string>{name}) << before;
  }
}

TEST_F(SaveTest, NewFileGetsUsualMode) {
  const mode_t old = ::umask(022);
  {
    TBiggerIniFile ini(Path("new.ini"));
    ini.WriteString("S", "k", "v");
  }
  ::umask(old);
  EXPECT_EQ(StatOf(Path("new.ini")).st_mode & 07777, 0644u);
}

TEST_F(SaveTest, SymbolicLinkStaysALink) {
  std::filesystem::create_directory(Path("real"));
  Put("real/target.ini", "[S]\r\nk=1\r\n");
  ::symlink("real/target.ini", Path("link.ini").c_str());
  ::symlink("link.ini", Path("link2.ini").c_str());
  {
    TBiggerIniFile ini(Path("link2.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
    ini.WriteString("S", "k", "2");
  }
  EXPECT_TRUE(S_ISLNK(StatOf(Path("link.ini")).st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(Path("link2.ini")).st_mode));
  EXPECT_EQ(Get("real/target.ini"), "[S]\r\nk=2\r\n\r\n");
  EXPECT_EQ(Names(Path("real")), std::vector<std::string>{"target.ini"});

  // A link to a file that is not there yet creates that file.
  ::symlink("real/later.ini", Path("dangling.ini").c_str());
  {
    TBiggerIniFile ini(Path("dangling.ini"));
    ini.WriteString("S", "k", "3");
  }
  EXPECT_TRUE(S_ISLNK(StatOf(Path("dangling.ini")).st_mode));
  EXPECT_EQ(Get("real/later.ini"), "[S]\r\nk=3\r\n\r\n");
}

TEST_F(SaveTest, SetFileNameWritesThePreviousFileFirst) {
  Put("b.ini", "[B]\r\nb=1\r\n[b]\r\nx=1\r\n");
  TBiggerIniFile ini(Path("a.ini"));
  ini.WriteString("A", "a", "1");
  ini.SetFileName(Path("b.ini"));
  EXPECT_EQ(Get("a.ini"), "[A]\r\na=1\r\n\r\n");
  EXPECT_EQ(ini.FileName, Path("b.ini"));
  EXPECT_EQ(ini.Sections.Count(), 1);
  EXPECT_FALSE(ini.Modified);
  ini.SetFileName("");
  EXPECT_EQ(ini.Sections.Count(), 0);
  EXPECT_EQ(Get("b.ini"), "[B]\r\nb=1\r\n[b]\r\nx=1\r\n");
}

}  // namespace
}  // namespace ini::test
