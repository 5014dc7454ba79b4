// Input/output failures: the right error, and nothing of the old file lost.
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>

#include "IniTestSupport.h"

namespace ini::test {
namespace {

constexpr int kNobody = 65534;

class FailureTest : public IniTest {
 protected:
  // Runs Body as an unprivileged user, since permissions do not bind root. The test
  // folder is opened to everyone for it.
  int AsUser(const std::function<int()>& body) {
    ::chmod(folder_.Path().c_str(), 0777);
    return InChild([&] {
      if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 97;
      return body();
    });
  }

  std::string BigContent() const {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "[S" + std::to_string(i) + "]\r\nkey=value\r\n\r\n";
    return text;
  }
};

TEST_F(FailureTest, FolderAsFileName) {
  std::filesystem::create_directory(Path("dir.ini"));
  EXPECT_EQ(IoErrorOf([&] { TBiggerIniFile ini(Path("dir.ini")); }), "File access denied");

  TBiggerIniFile ini("");
  ini.FileName = Path("dir.ini");
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(IoErrorOf([&] { ini.Flush(); }), "File access denied");
  EXPECT_TRUE(ini.Modified) << "a failed write keeps the change pending";
  ini.FileName.clear();
}

TEST_F(FailureTest, MissingFolderOnWrite) {
  EXPECT_EQ(IoErrorOf([&] {
              TBiggerIniFile ini(Path("no/such/a.ini"));
              ini.WriteString("S", "k", "v");
            }),
            rtl::EInOutError::FromErrno(ENOENT).Message());
}

TEST_F(FailureTest, UnreadableFile) {
  Put("a.ini", "[S]\r\nk=v\r\n");
  ::chmod(Path("a.ini").c_str(), 0200);
  const int code = AsUser([&] {
    return IoErrorOf([&] { TBiggerIniFile ini(Path("a.ini")); }) == "File access denied" ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
}

TEST_F(FailureTest, ReadOnlyFolder) {
  std::filesystem::create_directory(Path("ro"));
  Put("ro/kept.ini", "[S]\r\nk=1\r\n");
  Put("ro/locked.ini", "[S]\r\nk=1\r\n");
  ::chmod(Path("ro/kept.ini").c_str(), 0666);
  ::chmod(Path("ro/locked.ini").c_str(), 0444);
  ::chmod(Path("ro").c_str(), 0555);
  const int code = AsUser([&] {
    // No new file in a closed folder.
    if (IoErrorOf([&] {
          TBiggerIniFile ini(Path("ro/new.ini"));
          ini.WriteString("S", "k", "v");
        }) != "File access denied") {
      return 1;
    }
    // A read-only file stays as it is.
    if (IoErrorOf([&] {
          TBiggerIniFile ini(Path("ro/locked.ini"));
          ini.WriteString("S", "k", "2");
        }) != "File access denied") {
      return 2;
    }
    // A writable file in a closed folder is still written, in place.
    TBiggerIniFile ini(Path("ro/kept.ini"));
    ini.WriteString("S", "k", "2");
    ini.Flush();
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(std::filesystem::exists(Path("ro/new.ini")));
  EXPECT_EQ(Get("ro/locked.ini"), "[S]\r\nk=1\r\n");
  EXPECT_EQ(Get("ro/kept.ini"), "[S]\r\nk=2\r\n\r\n");
  EXPECT_EQ(Names(Path("ro")).size(), 2u);
}

TEST_F(FailureTest, FullDeviceThroughALink) {
  ::symlink("/dev/full", Path("full.ini").c_str());
  TBiggerIniFile ini("");
  ini.FileName = Path("full.ini");
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(IoErrorOf([&] { ini.Flush(); }), "Disk full");
  ini.FileName.clear();
  struct stat st {};
  ASSERT_EQ(::stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode)) << "a device is written, never replaced";
}

TEST_F(FailureTest, WriteFailureKeepsTheOldFileWhole) {
  const std::string old = "[Keep]\r\nk=old\r\n\r\n";
  Put("a.ini", old);
  ::chmod(Path("a.ini").c_str(), 0604);
  const std::string big = BigContent();
  // The file size limit makes the write fail half way, as a full disk would.
  const int code = InChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string error = IoErrorOf([&] {
      TBiggerIniFile ini(Path("a.ini"));
      for (int i = 0; i < 2000; ++i) ini.WriteString("S" + std::to_string(i), "key", "value");
    });
    return error == "Disk full" ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Get("a.ini"), old);
  EXPECT_EQ(Names(), std::vector<std::string>{"a.ini"});
  struct stat st {};
  ::stat(Path("a.ini").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

// A file rewritten in place, its folder closed: the file size limit stands in for a full
// disk, which must find the old content whole; a smaller content leaves no old tail.
TEST_F(FailureTest, AFullDiskLeavesAFileInAClosedFolderWhole) {
  std::filesystem::create_directory(Path("ro"));
  const std::string old = "[Keep]\r\nk=old\r\n\r\n[Gone]\r\nk=1\r\n\r\n";
  Put("ro/a.ini", old);
  ::chmod(Path("ro/a.ini").c_str(), 0666);
  ::chmod(Path("ro").c_str(), 0555);
  const int code = AsUser([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{8192, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string error = IoErrorOf([&] {
      TBiggerIniFile ini(Path("ro/a.ini"));
      for (int i = 0; i < 2000; ++i) ini.WriteString("S" + std::to_string(i), "key", "value");
    });
    if (error != "Disk full") return 1;
    if (Get("ro/a.ini") != old) return 2;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TBiggerIniFile ini(Path("ro/a.ini"));
    ini.EraseSection("Gone");
    ini.Flush();
    return Get("ro/a.ini") == "[Keep]\r\nk=old\r\n\r\n" ? 0 : 3;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Names(Path("ro")), std::vector<std::string>{"a.ini"});
}

TEST_F(FailureTest, FullFileSystem) {
  std::filesystem::create_directory(Path("small"));
  if (::mount("tmpfs", Path("small").c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{Path("small")};
  std::string old;
  for (int i = 0; i < 600; ++i) old += "[Old" + std::to_string(i) + "]\r\nk=v\r\n\r\n";
  Put("small/a.ini", old);
  ASSERT_EQ(Get("small/a.ini"), old);
  EXPECT_EQ(IoErrorOf([&] {
              TBiggerIniFile ini(Path("small/a.ini"));
              for (int i = 0; i < 4000; ++i) ini.WriteString("S" + std::to_string(i), "k", "v");
            }),
            "Disk full");
  EXPECT_EQ(Get("small/a.ini"), old);
  EXPECT_EQ(Names(Path("small")), std::vector<std::string>{"a.ini"});
}

TEST_F(FailureTest, DestructionDuringAnotherErrorDoesNotEndTheProgram) {
  std::filesystem::create_directory(Path("dir.ini"));
  try {
    TBiggerIniFile ini("");
    ini.FileName = Path("dir.ini");
    ini.WriteString("S", "k", "v");
    throw std::runtime_error("first");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "first");
  }
  // An explicit failing Flush unwinds through the object's own destruction as well.
  EXPECT_EQ(IoErrorOf([&] {
              auto ini = std::make_unique<TBiggerIniFile>("");
              ini->FileName = Path("dir.ini");
              ini->WriteString("S", "k", "v");
              ini->Flush();
            }),
            "File access denied");
}

}  // namespace
}  // namespace ini::test
