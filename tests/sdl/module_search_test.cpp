// Where modules are looked for, and the kernel calls around them.
#include "platform/platform.h"
#include "platform/posix/module_search.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using posixplat::ModuleSearchOrder;

TEST(ModuleSearch, ExecutableFolderThenSystemThenCurrentFolderThenInstalledDemo) {
  const std::string demo =
      std::string("/opt/game/") + posixplat::InstalledDemoFolder() + "/prog.dll";
  struct Case {
    const char *name;
    const char *exeDir;
    std::vector<posixplat::SearchStep> steps;
  };
  const Case cases[] = {
      {"prog.dll",
       "/opt/game",
       {{"/opt/game/prog.dll", false}, {"prog.dll", true}, {"./prog.dll", false}, {demo, false}}},
      // No folder known for the program: neither its folder nor the demo.
      {"prog.dll", "", {{"prog.dll", true}, {"./prog.dll", false}}},
      // A path is opened as given and nothing else is tried.
      {"mods/prog.dll", "/opt/game", {{"mods/prog.dll", false}}},
      {"/abs/prog.dll", "/opt/game", {{"/abs/prog.dll", false}}},
  };
  for (const Case &c : cases) {
    const auto steps = ModuleSearchOrder(c.name, c.exeDir);
    ASSERT_EQ(steps.size(), c.steps.size()) << c.name << " from " << c.exeDir;
    for (size_t i = 0; i < steps.size(); ++i) {
      EXPECT_EQ(steps[i].path, c.steps[i].path) << c.name << " step " << i;
      EXPECT_EQ(steps[i].systemSearch, c.steps[i].systemSearch) << c.name << " step " << i;
    }
  }
}

// The installed demo is looked for beside the program's own install: a
// relative folder, so a package unpacked anywhere finds its demo.
TEST(ModuleSearch, InstalledDemoFolderIsRelativeToTheProgram) {
  const std::string folder = posixplat::InstalledDemoFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.front(), '/');
  EXPECT_EQ(folder.rfind("../", 0), 0u) << folder;
  EXPECT_TRUE(folder.ends_with("/vantrel/demo")) << folder;
}

TEST(ModuleSearch, ExecutableFolderIsThisProgramsFolder) {
  const std::string folder = posixplat::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(access((folder + "/sdl_backend_tests").c_str(), X_OK), 0) << folder;
}

TEST(ModuleLoading, RefusesWhatIsNoLibrary) {
  EXPECT_EQ(plat::LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(plat::LoadLibraryA(""), nullptr);
  EXPECT_EQ(plat::LoadLibraryA("vantrel-no-such-module.dll"), nullptr);
  const std::string path = testing::TempDir() + "not_a_library.dll";
  std::ofstream(path) << "MZ this is text\n";
  EXPECT_EQ(plat::LoadLibraryA(path.c_str()), nullptr);
  std::remove(path.c_str());
  EXPECT_EQ(plat::GetProcAddress(nullptr, "VProgInterface"), nullptr);
}

TEST(ModuleLoading, FindsExportsOfALoadedLibrary) {
  plat::HMODULE libc = plat::LoadLibraryA("libc.so.6"); // through the system's paths
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(plat::GetProcAddress(libc, "strlen"), nullptr);
  EXPECT_EQ(plat::GetProcAddress(libc, "VProgInterface"), nullptr);
  EXPECT_EQ(plat::GetProcAddress(libc, nullptr), nullptr);
  EXPECT_NE(plat::GetModuleHandleA(nullptr), nullptr);
}

TEST(DebugOutput, GoesToStandardError) {
  testing::internal::CaptureStderr();
  plat::OutputDebugStringA("CreateCompatableDC failed\n");
  plat::OutputDebugStringA(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CreateCompatableDC failed\n");
}

} // namespace
