// How file text becomes sections and lines.
#include <fcntl.h>

#include <algorithm>
#include <random>

#include "IniTestSupport.h"
#include "ini/FileContent.h"
#include "ini/LineSplit.h"

namespace ini::test {
namespace {

using Lines = std::vector<std::string>;

class LoadTest : public IniTest {
 protected:
  Lines Load(const std::string& bytes) {
    Put("a.ini", bytes);
    TBiggerIniFile ini(Path("a.ini"));
    return Export(ini);
  }
};

TEST_F(LoadTest, MissingFileLoadsEmptyAndCreatesNothing) {
  {
    TBiggerIniFile ini(Path("none.ini"));
    EXPECT_EQ(ini.Sections.Count(), 0);
    EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
    EXPECT_FALSE(ini.Modified);
  }
  EXPECT_TRUE(Names().empty());
  // A path through a plain file is no file either.
  Put("plain", "x");
  TBiggerIniFile under(Path("plain/a.ini"));
  EXPECT_EQ(under.Sections.Count(), 0);
}

TEST_F(LoadTest, CarriageReturnEndsLinesAndLoneLineFeedDoesNot) {
  EXPECT_EQ(Load("[S]\ra=1\r\nb=2\rc=3"), (Lines{"[S]", "a=1", "b=2", "c=3", ""}));
  EXPECT_EQ(Load("[S]\na=1\nb=2\n"), Lines{});
  EXPECT_EQ(Load("[S]\r\na=1\nb=2\n\r\n"), (Lines{"[S]", "a=1\nb=2\n", ""}));
  // Only one line feed belongs to the line end; a second one starts the next line.
  EXPECT_EQ(Load("[S]\r\n\na=1\r\n"), (Lines{"[S]", "\na=1", ""}));
  // CR CR LF: an empty line between, which is skipped.
  EXPECT_EQ(Load("[S]\r\ra=1\r\r\n\r\n"), (Lines{"[S]", "a=1", ""}));
}

TEST(CountLineEndsTest, MatchesAPlainCount) {
  std::mt19937 rng(3);
  for (size_t size : {0u, 1u, 15u, 16u, 17u, 4095u, 4096u, 4097u, 70000u}) {
    for (int density : {0, 1, 50, 100}) {
      std::string text(size, 'x');
      for (char& c : text) {
        if (static_cast<int>(rng() % 100) < density) c = '\r';
      }
      EXPECT_EQ(CountLineEnds(text.data(), text.size()),
                static_cast<size_t>(std::count(text.begin(), text.end(), '\r')))
          << size << " " << density;
    }
  }
}

// Line ends fall on every position of the 64-byte blocks, a line feed also just past one.
TEST(ForEachLineTest, MatchesASplitByteByByte) {
  std::mt19937 rng(5);
  for (size_t size : {0u, 1u, 63u, 64u, 65u, 127u, 128u, 129u, 1000u}) {
    for (int density : {0, 10, 50, 100}) {
      std::string text(size, 'x');
      for (char& c : text) {
        const int r = static_cast<int>(rng() % 100);
        if (r < density) c = (r % 2) ? '\r' : '\n';
      }
      Lines expected{""};
      for (size_t i = 0; i < size; ++i) {
        if (text[i] != '\r') {
          expected.back() += text[i];
          continue;
        }
        if (i + 1 < size && text[i + 1] == '\n') ++i;
        expected.emplace_back();
      }
      if (expected.back().empty()) expected.pop_back();
      Lines got;
      ForEachLine(text.data(), size, [&](char* line, size_t n) { got.emplace_back(line, n); });
      EXPECT_EQ(got, expected) << size << " " << density;
    }
  }
}

TEST_F(LoadTest, DenseShortLines) {
  std::string text = "[S]\r";
  Lines expected{"[S]"};
  for (int i = 0; i < 5000; ++i) {
    text += (i % 3 == 0) ? "\r" : "a\r";
    if (i % 3 != 0) expected.push_back("a");
  }
  expected.push_back("");
  EXPECT_EQ(Load(text), expected);
}

TEST_F(LoadTest, FilesAroundTheBufferSize) {
  for (size_t size : {0x7000u - 1, 0x7000u, 0x7000u + 1, 2u * 0x7000u, 5u * 0x7000u + 3}) {
    std::string text = "[S]\r\n";
    while (text.size() < size) text += "k=" + std::to_string(text.size()) + "\r\n";
    text.resize(size);
    text.back() = 'Z';
    Put("b.ini", text);
    TBiggerIniFile ini(Path("b.ini"));
    const TLineList& lines = ini.Sections.SectionLines(0);
    ASSERT_GT(lines.Count(), 0);
    EXPECT_EQ(lines[lines.Count() - 1].back(), 'Z') << size;
  }
}

// A pipe gives what has been written so far; its end comes when the writer closes it.
TEST_F(LoadTest, PipeIsReadToItsEnd) {
  const std::string path = Path("p.ini");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const std::string head = "[S]\r\na=1\r\n";
  std::string tail;
  for (int k = 0; tail.size() < 3 * 0x7000; ++k) tail += "k" + std::to_string(k) + "=v\r\n";
  tail += "z=last\r\n";
  const pid_t writer = ::fork();
  if (writer == 0) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size());
    ::usleep(200 * 1000);
    ok = ok && ::write(fd, tail.data(), tail.size()) == static_cast<ssize_t>(tail.size());
    ::_exit(ok ? 0 : 1);
  }
  TBiggerIniFile ini(path);
  int status = 0;
  ::waitpid(writer, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "z", ""), "last");
}

TEST_F(LoadTest, Character26EndsTheFile) {
  EXPECT_EQ(Load("[S]\r\na=1\x1a"
                 "b=2\r\nc=3\r\n"),
            (Lines{"[S]", "a=1", ""}));
  EXPECT_EQ(Load(std::string("[S]\r\n\x1a[T]\r\nx=1\r\n")), Lines{});
}

TEST_F(LoadTest, LinesAreCutAt255Characters) {
  const std::string long300 = "k=" + std::string(298, 'v');
  const Lines got = Load("[S]\r\n" + long300 + "\r\nnext=1\r\n");
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[1], long300.substr(0, 255));
  EXPECT_EQ(got[2], "next=1");
  // Without any carriage return the whole file is one line, of which 255 characters count.
  std::string oneLine = "[S]\na=1\n" + std::string(400, 'x');
  Put("one.ini", oneLine);
  TBiggerIniFile ini(Path("one.ini"));
  EXPECT_EQ(ini.Sections.Count(), 0);
  // A header longer than a line can be loses its "]" to the cut and is no header.
  EXPECT_EQ(Load("[" + std::string(260, 'n') + "]\r\na=1\r\n"), Lines{});
  const std::string name253(253, 'n');
  EXPECT_EQ(Load("[" + name253 + "]\r\na=1\r\n"), (Lines{"[" + name253 + "]", "a=1", ""}));
}

TEST_F(LoadTest, HeaderMustBeExact) {
  EXPECT_EQ(Load("[S]\r\na=1\r\n [T]\r\n[U] \r\nb=2\r\n"),
            (Lines{"[S]", "a=1", " [T]", "[U] ", "b=2", ""}));
  // Lines before the first header are dropped, a spoiled header included.
  EXPECT_EQ(Load("x=0\r\n [T]\r\ny=1\r\n[S]\r\na=1\r\n"), (Lines{"[S]", "a=1", ""}));
  // Blanks and brackets inside the brackets belong to the name; "[]" is a name too.
  EXPECT_EQ(Load("[ a [b] ]\r\nk=1\r\n[]\r\nk=2\r\n"),
            (Lines{"[ a [b] ]", "k=1", "", "[]", "k=2", ""}));
  TBiggerIniFile ini(Path("a.ini"));
  EXPECT_EQ(ini.ReadString(" a [b] ", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("", "k", ""), "2");
  // "[" alone or "]" alone is an ordinary line.
  EXPECT_EQ(Load("[S]\r\n[\r\n]\r\n"), (Lines{"[S]", "[", "]", ""}));
}

TEST_F(LoadTest, LinesAreKeptVerbatimAndEmptyLinesDropped) {
  EXPECT_EQ(Load("[S]\r\n; note\r\n\r\nno equals\r\n k = \"v\" \r\n\r\n"),
            (Lines{"[S]", "; note", "no equals", " k = \"v\" ", ""}));
  Put("b.ini", "[S]\r\nk =1\r\nk= 2\r\nv=a=b\r\n");
  TBiggerIniFile ini(Path("b.ini"));
  EXPECT_EQ(ini.ReadString("S", "k", "D"), " 2");
  EXPECT_EQ(ini.ReadString("S", "k ", "D"), "1");
  EXPECT_EQ(ini.ReadString("S", "v", "D"), "a=b");
}

TEST_F(LoadTest, ContentSurvivesByteForByte) {
  std::string bytes = "[S\xe9]\r\n";
  for (int c = 1; c < 256; ++c) {
    if (c == 13 || c == 26) continue;
    bytes += "k" + std::to_string(c) + "=" + std::string(3, static_cast<char>(c)) + "\r\n";
  }
  bytes += "\r\n";
  Put("a.ini", bytes);
  {
    TBiggerIniFile ini(Path("a.ini"));
    ini.Modified = true;
  }
  EXPECT_EQ(Get("a.ini"), bytes);
}

TEST_F(LoadTest, LoadAppendsToHeldSections) {
  Put("a.ini", "[A]\r\nx=1\r\n");
  Put("b.ini", "[B]\r\ny=2\r\n[a]\r\nx=3\r\n");
  TBiggerIniFile ini(Path("a.ini"));
  ini.Load(Path("b.ini"));
  EXPECT_EQ(Export(ini), (Lines{"[A]", "x=1", "", "[B]", "y=2", ""}));
  EXPECT_TRUE(ini.Modified);
}

TEST_F(LoadTest, Options) {
  Put("a.ini",
      "[S]\r\n;c=1\r\nk \t= \t v\r\nq=\"quoted\"\r\nr='x\"\r\ns=\"\r\nbare\r\nt=1 "
      "\t\x01\r\n=\"z\"\r\n");
  TBiggerIniFile ini("");
  ini.IgnoreCommentLines = ini.KeyLinesOnly = ini.TrimAroundEquals = true;
  ini.UnquoteValues = ini.TrimLineEnd = true;
  ini.Load(Path("a.ini"));
  EXPECT_EQ(Export(ini), (Lines{"[S]", "k=v", "q=quoted", "r='x\"", "s=\"", "t=1", "=\"z\"", ""}));

  // Trimming stops at the start of the line, and then leaves the value's blanks alone.
  Put("b.ini", "[S]\r\n  = v\r\n");
  TBiggerIniFile trim("");
  trim.TrimAroundEquals = true;
  trim.Load(Path("b.ini"));
  EXPECT_EQ(Export(trim), (Lines{"[S]", "= v", ""}));

  // With the options off the same text stays as it was.
  TBiggerIniFile plain(Path("a.ini"));
  EXPECT_EQ(plain.Sections.SectionLines(0).Count(), 8);
}

}  // namespace
}  // namespace ini::test
