#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/scratch.h"
#include "zerka/zerka.h"

namespace {

std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&get_module), &info) == 0 || !info.dli_fname) return "";
  return info.dli_fname;
}

TEST(ModuleLoader, LoadsLooksUpAndUnloads) {
  ZerkaModuleLoader* loader = get_module();
  std::string path = LibraryPath();
  ASSERT_FALSE(path.empty());
  void* handle = loader->Load(path, 1);
  ASSERT_NE(handle, nullptr) << loader->LastError();
  EXPECT_EQ(loader->GetSymbol(handle, "_Z9get_timerv"), reinterpret_cast<void*>(&get_timer));
  EXPECT_EQ(loader->GetSymbol(handle, "no_such_export"), nullptr);
  EXPECT_NE(loader->LastError().find("no_such_export"), std::string::npos);
  EXPECT_EQ(loader->Unload(handle), 0);
}

TEST(ModuleLoader, FailuresAreReportedPerThread) {
  ZerkaModuleLoader* loader = get_module();
  EXPECT_EQ(loader->Load(std::string(::testing::TempDir()) + "/missing_gui.so", 1), nullptr);
  std::string error = loader->LastError();
  EXPECT_NE(error.find("missing_gui.so"), std::string::npos) << error;
  std::string other_thread = "unset";
  std::thread([&] { other_thread = get_module()->LastError(); }).join();
  EXPECT_EQ(other_thread, "");
  EXPECT_EQ(loader->LastError(), error);

  // A null handle must not search every loaded object.
  EXPECT_EQ(loader->GetSymbol(nullptr, "_Z9get_timerv"), nullptr);
  EXPECT_NE(loader->Unload(nullptr), 0);
  EXPECT_EQ(loader->Load("", 1), nullptr);
}

TEST(ModuleLoader, AcceptsDrivePaths) {
  std::string root = test_support::ScratchDir("modules/drive_c");
  setenv("ZERKA_SYSTEM_DRIVE", root.c_str(), 1);
  ASSERT_EQ(get_filesystem()->CreateDirectories("C:\\Program Files\\kolv"), 0);
  std::string link = root + "/Program Files/kolv/mendra_gui.so";
  ASSERT_EQ(symlink(LibraryPath().c_str(), link.c_str()), 0);
  void* handle = get_module()->Load("C:\\Program Files\\kolv\\mendra_gui.so", 0);
  ASSERT_NE(handle, nullptr) << get_module()->LastError();
  EXPECT_NE(get_module()->GetSymbol(handle, "_Z8get_biosv"), nullptr);
  get_module()->Unload(handle);
}

// Each load runs in a child: a file cut short can crash the loader, a FIFO can hold it for good.
TEST(ModuleLoader, RefusesWhatIsNotAWholeLibraryForThisMachine) {
  const std::string dir = test_support::ScratchDir("modules/refused");
  const std::string image = test_support::ReadFile(LibraryPath());
  ASSERT_GT(image.size(), 40000u);
  std::string other_class = image, other_machine = image;
  other_class[EI_CLASS] ^= ELFCLASS32 ^ ELFCLASS64;
  other_machine[offsetof(ElfW(Ehdr), e_machine)] ^= 0x40;
  const std::pair<const char*, std::string> files[] = {{"cut", image.substr(0, 20000)},
      {"empty", ""}, {"text", "not a library\n"}, {"class", other_class}, {"machine", other_machine}};
  for (const auto& file : files) test_support::WriteFile(dir + "/" + file.first + "_gui.so", file.second);
  ASSERT_EQ(mkfifo((dir + "/fifo_gui.so").c_str(), 0600), 0);
  ASSERT_EQ(mkdir((dir + "/folder_gui.so").c_str(), 0700), 0);
  for (const char* name : {"cut", "empty", "text", "class", "machine", "fifo", "folder"}) {
    const std::string path = dir + "/" + name + "_gui.so";
    EXPECT_EXIT(
        {
          alarm(10);
          const bool loaded = get_module()->Load(path, 1) != nullptr;
          std::fprintf(stderr, "%s\n", get_module()->LastError().c_str());
          std::_Exit(loaded ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "not a library for this machine")
        << name;
  }
}

}  // namespace
