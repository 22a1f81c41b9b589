// Where modules are looked for, and the kernel calls around them.
#include "platform/platform.h"
#include "platform/posix/module_search.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

using posixplat::ModuleSearchOrder;

TEST(ModuleSearch, ExecutableFolderThenSystemThenCurrentFolder) {
  const auto steps = ModuleSearchOrder("prog.dll", "/opt/game");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].path, "/opt/game/prog.dll");
  EXPECT_FALSE(steps[0].systemSearch);
  EXPECT_EQ(steps[1].path, "prog.dll");
  EXPECT_TRUE(steps[1].systemSearch);
  EXPECT_EQ(steps[2].path, "./prog.dll");
  EXPECT_FALSE(steps[2].systemSearch);
}

TEST(ModuleSearch, PathsAreOpenedAsGiven) {
  const auto steps = ModuleSearchOrder("mods/prog.dll", "/opt/game");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].path, "mods/prog.dll");
  EXPECT_EQ(ModuleSearchOrder("prog.dll", "").size(), 2u); // no folder known
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
