// Print Screen's file: a new name for every shot, never one that exists in
// any form (a file, a folder, a link to nowhere), and no file left behind
// when the shot cannot be written.
#include "capture/screenshot_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Screenshot : public ::testing::Test {
protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / "screenshot_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    before = fs::current_path();
    fs::current_path(dir);
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 10;
    when.tm_min = 4;
    when.tm_sec = 5;
  }
  void TearDown() override {
    fs::current_path(before);
    fs::remove_all(dir);
  }

  fs::path dir;
  fs::path before;
  std::tm when{};
  replay::RgbImage frame{4, 2, std::vector<uint8_t>(4 * 2 * 3, 0x7F)};
};

TEST_F(Screenshot, EveryShotTakesANameNobodyHas) {
  const std::string first = "vantrel-20261209-100405.png";
  const std::string second = "vantrel-20261209-100405-2.png";
  const std::string third = "vantrel-20261209-100405-3.png";
  struct Case {
    const char *name;
    void (*before)(); // what is in the folder first
    std::string chosen;
  };
  const Case cases[] = {
      {"empty folder", [] {}, first},
      {"a shot of the same second", [] { std::ofstream("vantrel-20261209-100405.png") << "x"; },
       second},
      // A link to nowhere: looking the name up finds nothing, but writing to
      // it would create the file it points to.
      {"a dangling link",
       [] { fs::create_symlink("elsewhere.png", "vantrel-20261209-100405.png"); }, second},
      {"a folder and a shot",
       [] {
         fs::create_directory("vantrel-20261209-100405.png");
         std::ofstream("vantrel-20261209-100405-2.png") << "x";
       },
       third},
  };
  for (const auto &c : cases) {
    for (const auto &entry : fs::directory_iterator(dir)) {
      fs::remove_all(entry.path());
    }
    c.before();
    std::string why;
    EXPECT_EQ(replay::WriteScreenshot(when, frame, &why), c.chosen) << c.name << ": " << why;
    replay::RgbImage back;
    EXPECT_TRUE(replay::ReadPng(c.chosen, &back, &why)) << c.name << ": " << why;
    EXPECT_EQ(back.rgb, frame.rgb) << c.name;
    EXPECT_FALSE(fs::exists("elsewhere.png")) << c.name << ": written through the link";
  }
  // Every shot of one second: three in a row take three names.
  for (const auto &entry : fs::directory_iterator(dir)) {
    fs::remove_all(entry.path());
  }
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    names.push_back(replay::WriteScreenshot(when, frame, nullptr));
  }
  EXPECT_EQ(names, (std::vector<std::string>{first, second, third}));
}

TEST_F(Screenshot, AShotThatCannotBeWrittenSaysWhyAndLeavesNothing) {
  std::string why;
  EXPECT_EQ(replay::WriteScreenshot(when, replay::RgbImage{}, &why), "");
  EXPECT_NE(why.find("vantrel-20261209-100405.png"), std::string::npos) << why;
  EXPECT_TRUE(fs::is_empty(dir));
}

} // namespace
