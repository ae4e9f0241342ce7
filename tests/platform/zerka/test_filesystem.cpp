#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/scratch.h"
#include "zerka/zerka.h"

using test_support::ScratchDir;
using test_support::WriteFile;

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

class DriveMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* drive = std::getenv("ZERKA_SYSTEM_DRIVE");
    saved_ = drive ? drive : "";
    setenv("ZERKA_SYSTEM_DRIVE", "/srv/kolv/drive_c/", 1);
    unsetenv("ZERKA_SYSTEM_DRIVE_LETTER");
  }
  void TearDown() override {
    unsetenv("ZERKA_SYSTEM_DRIVE_LETTER");
    setenv("ZERKA_SYSTEM_DRIVE", saved_.c_str(), 1);
  }
  ZerkaFilesystem* fs = get_filesystem();
  std::string saved_;
};

TEST_F(DriveMapping, SystemDriveMapsToItsFolderInEitherSeparatorForm) {
  EXPECT_EQ(fs->SystemDriveLetter(), 'C');
  EXPECT_EQ(fs->NativePath("C:\\ProgramData\\Tarvex\\morva\\"),
            "/srv/kolv/drive_c/ProgramData/Tarvex/morva/");
  EXPECT_EQ(fs->NativePath("c:/morva/log.txt"), "/srv/kolv/drive_c/morva/log.txt");
  EXPECT_EQ(fs->NativePath("C:\\"), "/srv/kolv/drive_c");
  EXPECT_EQ(fs->NativePath("C:"), "/srv/kolv/drive_c");
  EXPECT_EQ(fs->NativePath("C:\\a\\\\b"), "/srv/kolv/drive_c/a/b");
}

TEST_F(DriveMapping, OtherLettersAreSiblingFolders) {
  EXPECT_EQ(fs->NativePath("D:\\data\\x.bin"), "/srv/kolv/drive_d/data/x.bin");
  EXPECT_EQ(fs->NativePath("e:/"), "/srv/kolv/drive_e");
  setenv("ZERKA_SYSTEM_DRIVE_LETTER", "d", 1);
  EXPECT_EQ(fs->SystemDriveLetter(), 'D');
  EXPECT_EQ(fs->NativePath("D:\\x"), "/srv/kolv/drive_c/x");
}

TEST_F(DriveMapping, DotDotNeverLeavesTheDrive) {
  EXPECT_EQ(fs->NativePath("C:\\..\\..\\etc\\passwd"), "/srv/kolv/drive_c/etc/passwd");
  EXPECT_EQ(fs->NativePath("C:\\a\\.\\b\\..\\c"), "/srv/kolv/drive_c/a/c");
}

TEST_F(DriveMapping, OtherPathsStayAsTheyAre) {
  EXPECT_EQ(fs->NativePath("/var/tmp/a\\b"), "/var/tmp/a\\b");
  EXPECT_EQ(fs->NativePath("relative/name"), "relative/name");
  EXPECT_EQ(fs->NativePath("C:name"), "C:name");
  EXPECT_EQ(fs->NativePath("1:\\x"), "1:\\x");
  EXPECT_EQ(fs->NativePath(""), "");
}

TEST(Filesystem, ListFilesMatchesTheLastElementInNameOrder) {
  std::string dir = ScratchDir("list");
  for (const char* name : {"b_gui.so", "a_gui.so", "c_cli.so", "x_gui.so.bak", ".h_gui.so"})
    WriteFile(dir + "/" + name, "x");
  mkdir((dir + "/d_gui.so").c_str(), 0755);  // folders are not listed
  ZerkaFilesystem* fs = get_filesystem();

  std::vector<std::string> names{"kept"};
  EXPECT_EQ(fs->ListFiles(dir + "/*_gui.so", names), 3);
  EXPECT_EQ(names, (std::vector<std::string>{"kept", dir + "/.h_gui.so", dir + "/a_gui.so",
                                              dir + "/b_gui.so"}));

  // A backslash before the last element keeps its form in the results.
  names.clear();
  EXPECT_EQ(fs->ListFiles(dir + "\\?_cli.so", names), 1);
  EXPECT_EQ(names, std::vector<std::string>{dir + "\\c_cli.so"});

  names.clear();
  EXPECT_EQ(fs->ListFiles(dir + "/*.none", names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(fs->ListFiles(dir + "/missing/*", names), -1);
}

TEST(Filesystem, ListFilesOnADrivePathGivesDrivePaths) {
  std::string root = ScratchDir("listdrive/drive_c");
  setenv("ZERKA_SYSTEM_DRIVE", root.c_str(), 1);
  ZerkaFilesystem* fs = get_filesystem();
  ASSERT_EQ(fs->CreateDirectories("C:\\morva\\logs"), 0);
  WriteFile(root + "/morva/logs/run.log", "x");
  std::vector<std::string> names;
  EXPECT_EQ(fs->ListFiles("C:\\morva\\logs\\*.log", names), 1);
  EXPECT_EQ(names, std::vector<std::string>{"C:\\morva\\logs\\run.log"});
  WriteFile(root + "/boot.log", "x");
  names.clear();
  EXPECT_EQ(fs->ListFiles("C:*.log", names), 1);
  EXPECT_EQ(names, std::vector<std::string>{"C:\\boot.log"});
  EXPECT_NE(fs->IsDirectory("C:\\morva\\logs"), 0);
  EXPECT_EQ(fs->IsDirectory("C:\\morva\\logs\\run.log"), 0);
  EXPECT_EQ(fs->IsDirectory("C:\\nothing"), 0);
}

TEST(Filesystem, CreateDirectoriesReportsWhetherTheFolderExistsAfterwards) {
  std::string dir = ScratchDir("mkdir");
  ZerkaFilesystem* fs = get_filesystem();
  EXPECT_EQ(fs->CreateDirectories(dir + "/a/b/c", 0755), 0);
  EXPECT_NE(fs->IsDirectory(dir + "/a/b/c"), 0);
  EXPECT_EQ(fs->CreateDirectories(dir + "/a/b/c/"), 0);  // already there
  WriteFile(dir + "/file", "x");
  EXPECT_NE(fs->CreateDirectories(dir + "/file"), 0);
  EXPECT_NE(fs->CreateDirectories(dir + "/file/sub"), 0);
  EXPECT_NE(fs->CreateDirectories(""), 0);
}

TEST(Filesystem, DeletePathRemovesTreesWithoutFollowingLinksOut) {
  std::string dir = ScratchDir("delete");
  std::string outside = dir + "/outside";
  ASSERT_EQ(mkdir(outside.c_str(), 0755), 0);
  WriteFile(outside + "/keep.txt", "precious");
  std::string tree = dir + "/tree";
  ZerkaFilesystem* fs = get_filesystem();
  ASSERT_EQ(fs->CreateDirectories(tree + "/a/b"), 0);
  WriteFile(tree + "/a/b/f", "x");
  WriteFile(tree + "/top", "x");
  ASSERT_EQ(symlink(outside.c_str(), (tree + "/a/link").c_str()), 0);
  ASSERT_EQ(symlink((outside + "/keep.txt").c_str(), (tree + "/filelink").c_str()), 0);

  EXPECT_EQ(fs->DeletePath(tree), 0);
  EXPECT_FALSE(Exists(tree));
  EXPECT_TRUE(Exists(outside + "/keep.txt"));

  // A link given directly is removed itself, not its target.
  ASSERT_EQ(symlink(outside.c_str(), (dir + "/direct").c_str()), 0);
  EXPECT_EQ(fs->DeletePath(dir + "/direct/"), 0);
  EXPECT_FALSE(Exists(dir + "/direct"));
  EXPECT_TRUE(Exists(outside + "/keep.txt"));

  EXPECT_EQ(fs->DeletePath(outside + "/keep.txt"), 0);
  EXPECT_FALSE(Exists(outside + "/keep.txt"));
  EXPECT_NE(fs->DeletePath(dir + "/never-was"), 0);
  EXPECT_NE(fs->DeletePath("/"), 0);
}

TEST(Filesystem, ApplicationDirectoryIsTheProgramsFolder) {
  std::string dir = get_filesystem()->ApplicationDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  exe[n] = '\0';
  EXPECT_EQ(std::string(exe).rfind(dir + "/", 0), 0u);
}

}  // namespace
