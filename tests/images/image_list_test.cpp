// AddImage and the image list: append order, load flags, names, the boxes of
// every failure and what stays on the list.
#include "image_fixture.h"

#include "display/display_state.h"
#include "failing_new.h"
#include "images/image_list.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>

namespace {

using vantrel::AddImage;
using vantrel::prog;

class ImageListTest : public ImageTest {
protected:
  void SetUp() override {
    ImageTest::SetUp();
    OpenDisplay(16);
    red = Write("red.bmp", bmp::Solid(8, 4, 0xFF0000));
    blue = Write("blue.bmp", bmp::Solid(3, 5, 0x0000FF));
  }
  void TearDown() override {
    failnew::Disarm();
    ImageTest::TearDown();
  }

  static void ExpectOneBox(const char *caption, const char *text) {
    ASSERT_EQ(td::Boxes().size(), 1u);
    EXPECT_EQ(td::Boxes()[0].caption, caption);
    EXPECT_EQ(td::Boxes()[0].text, text);
    EXPECT_EQ(td::Boxes()[0].type, plat::MB_OK);
  }

  std::string red;
  std::string blue;
};

TEST_F(ImageListTest, FirstLoadedImageBecomesTheHead) {
  VImg *image = AddImage(red.c_str(), IMG_LOAD);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(prog.ihead, image);
  EXPECT_EQ(image->state, IMG_NAMED);
  EXPECT_EQ(image->loadFlag, IMG_LOAD);
  EXPECT_EQ(image->next, nullptr);
  EXPECT_STREQ(image->name, red.c_str());
  ASSERT_NE(image->surf, nullptr);
  EXPECT_NE(image->surf->surface, nullptr);
  EXPECT_EQ(image->surf->width, 8);
  EXPECT_EQ(image->surf->height, 4);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(ImageListTest, FailedHeadIsReportedAndStaysAtTheHead) {
  EXPECT_EQ(AddImage(dir.File("missing.bmp").c_str(), IMG_LOAD), nullptr);
  ExpectOneBox("Report", "Head image could not be loaded and/or found");
  ASSERT_NE(prog.ihead, nullptr);
  ASSERT_NE(prog.ihead->surf, nullptr);
  EXPECT_EQ(prog.ihead->surf->surface, nullptr);
  EXPECT_EQ(prog.ihead->surf->width, 0);
  EXPECT_EQ(prog.ihead->surf->height, 0);

  // The next image goes behind the failed head, which keeps its place.
  VImg *failedHead = prog.ihead;
  VImg *second = AddImage(red.c_str(), IMG_LOAD);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(prog.ihead, failedHead);
  EXPECT_EQ(failedHead->next, second);
  EXPECT_EQ(td::Boxes().size(), 1u);
}

TEST_F(ImageListTest, LaterFailuresShowTheErrorBoxAndAppendAllTheSame) {
  ASSERT_NE(AddImage(red.c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(AddImage(dir.File("missing.bmp").c_str(), IMG_LOAD), nullptr);
  ExpectOneBox("Error!", "Image could not be loaded and/or found");
  VImg *third = AddImage(blue.c_str(), IMG_LOAD);
  ASSERT_NE(third, nullptr);

  const std::vector<VImg *> list = List();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], prog.ihead);
  EXPECT_STREQ(list[0]->name, red.c_str());
  EXPECT_STREQ(list[1]->name, dir.File("missing.bmp").c_str());
  EXPECT_EQ(SurfaceOf(list[1]), nullptr);
  EXPECT_EQ(list[2], third);
  EXPECT_EQ(third->next, nullptr);
}

TEST_F(ImageListTest, OnlyTheLoadFlagLoads) {
  // IMG_DEFER and every other value are reported as not loaded and never
  // reach the file.
  const int32_t flags[] = {IMG_DEFER, 0, -1, IMG_LOAD - 1, IMG_LOAD + 1, INT_MIN, INT_MAX};
  ASSERT_EQ(AddImage(red.c_str(), IMG_DEFER), nullptr);
  ExpectOneBox("Report", "Head image could not be loaded and/or found");
  for (int32_t flag : flags) {
    SCOPED_TRACE(flag);
    const size_t boxes = td::Boxes().size();
    EXPECT_EQ(AddImage(red.c_str(), flag), nullptr);
    ASSERT_EQ(td::Boxes().size(), boxes + 1);
    EXPECT_EQ(td::Boxes().back().caption, "Error!");
    EXPECT_EQ(td::Boxes().back().text, "Image could not be loaded and/or found");
    VImg *tail = List().back();
    EXPECT_EQ(tail->loadFlag, flag);
    EXPECT_EQ(SurfaceOf(tail), nullptr);
  }
  EXPECT_EQ(List().size(), 1 + std::size(flags));
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
}

TEST_F(ImageListTest, TheSameFileTwiceGivesTwoSurfaces) {
  VImg *first = AddImage(red.c_str(), IMG_LOAD);
  VImg *second = AddImage(red.c_str(), IMG_LOAD);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(SurfaceOf(first), nullptr);
  EXPECT_NE(SurfaceOf(second), nullptr);
  EXPECT_NE(SurfaceOf(first), SurfaceOf(second));
  EXPECT_EQ(td::CountCalls("LoadImageA"), 2);
}

TEST_F(ImageListTest, ShortNamesAreZeroFilled) {
  ASSERT_TRUE(bmp::WriteFile("abcdef.bmp", bmp::Solid(1, 1, 0)));
  VImg *image = AddImage("abcdef.bmp", IMG_LOAD);
  std::remove("abcdef.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_STREQ(image->name, "abcdef.bmp");
  for (size_t i = 10; i < sizeof image->name; ++i) {
    ASSERT_EQ(image->name[i], '\0') << "byte " << i;
  }
  ASSERT_EQ(td::CallsNamed("LoadImageA").size(), 1u);
  EXPECT_EQ(td::CallsNamed("LoadImageA")[0].texts.at(0), "abcdef.bmp");
}

TEST_F(ImageListTest, NamesThatDoNotFitAreNeverLoaded) {
  // 255 characters fit with their terminator and are loaded as given.
  const std::string fits(255, 'a');
  EXPECT_EQ(AddImage(fits.c_str(), IMG_LOAD), nullptr); // no such file
  ASSERT_EQ(td::CallsNamed("LoadImageA").size(), 1u);
  EXPECT_EQ(td::CallsNamed("LoadImageA")[0].texts.at(0), fits);

  // 256 or more would be loaded truncated, under another name: refused.
  const std::string tooLong(256, 'a');
  const std::string farTooLong(5000, 'b');
  EXPECT_EQ(AddImage(tooLong.c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(AddImage(farTooLong.c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(AddImage(nullptr, IMG_LOAD), nullptr);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 1);

  const std::vector<VImg *> list = List();
  ASSERT_EQ(list.size(), 4u);
  ASSERT_EQ(td::Boxes().size(), 4u);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(td::Boxes()[i].caption, "Error!");
    EXPECT_EQ(td::Boxes()[i].text, "Image could not be loaded and/or found");
    EXPECT_EQ(SurfaceOf(list[i]), nullptr);
    ASSERT_NE(list[i]->surf, nullptr);
    EXPECT_EQ(list[i]->surf->width, 0);
    EXPECT_EQ(list[i]->name[255], '\0');
  }
  EXPECT_EQ(std::strlen(list[2]->name), 255u);
  EXPECT_STREQ(list[3]->name, "");
}

TEST_F(ImageListTest, NullOrLongNameAsTheHeadIsReported) {
  EXPECT_EQ(AddImage(nullptr, IMG_LOAD), nullptr);
  ExpectOneBox("Report", "Head image could not be loaded and/or found");
  EXPECT_NE(prog.ihead, nullptr);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
}

TEST_F(ImageListTest, NoMemoryForTheHead) {
  failnew::FailAllocation(1); // the holder is allocation 0, the image 1
  EXPECT_EQ(AddImage(red.c_str(), IMG_LOAD), nullptr);
  failnew::Disarm();
  ExpectOneBox("Error!", "No memory to add ihead");
  EXPECT_EQ(prog.ihead, nullptr);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
  // The holder was given back (the leak checker would say otherwise), and
  // the next call starts the list.
  EXPECT_NE(AddImage(red.c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(List().size(), 1u);
}

TEST_F(ImageListTest, NoMemoryForALaterImageLeavesTheListAsItWas) {
  VImg *head = AddImage(red.c_str(), IMG_LOAD);
  ASSERT_NE(head, nullptr);
  failnew::FailAllocation(1);
  EXPECT_EQ(AddImage(blue.c_str(), IMG_LOAD), nullptr);
  failnew::Disarm();
  ExpectOneBox("Error!", "No memory to add VImg");
  EXPECT_EQ(head->next, nullptr);
  EXPECT_EQ(List().size(), 1u);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 1);
}

TEST_F(ImageListTest, NoMemoryForTheHolderIsAFailedLoad) {
  failnew::FailAllocation(0);
  EXPECT_EQ(AddImage(red.c_str(), IMG_LOAD), nullptr);
  failnew::Disarm();
  ExpectOneBox("Report", "Head image could not be loaded and/or found");
  ASSERT_NE(prog.ihead, nullptr);
  EXPECT_EQ(prog.ihead->surf, nullptr);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
  EXPECT_EQ(vantrel::LoadIfRequested(prog.ihead), NO_SURFACE);
}

TEST_F(ImageListTest, LoadIfRequestedAnswers) {
  VImg deferred(new VSurf(), red.c_str(), IMG_DEFER);
  VImg odd(new VSurf(), red.c_str(), 7);
  VImg missing(new VSurf(), dir.File("missing.bmp").c_str(), IMG_LOAD);
  VImg good(new VSurf(), red.c_str(), IMG_LOAD);
  EXPECT_EQ(vantrel::LoadIfRequested(&deferred), IMG_DEFER);
  EXPECT_EQ(vantrel::LoadIfRequested(&odd), IMG_DEFER);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
  EXPECT_EQ(vantrel::LoadIfRequested(&missing), 0);
  EXPECT_EQ(vantrel::LoadIfRequested(&good), 1);
  EXPECT_EQ(vantrel::LoadIfRequested(nullptr), NO_SURFACE);
  // The upload does not touch the list.
  EXPECT_EQ(prog.ihead, nullptr);
}

// Every refused image says why once on the debug output; the box, the result
// and the list stay exactly as without the line.
struct RefusedImage {
  const char *name;
  bool afterAHead; // a good image is added first, so this one is a later image
  // Answers the file name, given the test's folder, a good bitmap's path and
  // storage for the name.
  std::function<const char *(const bmp::TempDir &, const std::string &, std::string &)> arrange;
  int32_t loadFlag;
  const char *why;
};

class ImageRefusals : public ImageListTest, public ::testing::WithParamInterface<RefusedImage> {};

TEST_P(ImageRefusals, SayWhyOnceAndChangeNothingElse) {
  const RefusedImage &row = GetParam();
  if (row.afterAHead) {
    ASSERT_NE(AddImage(red.c_str(), IMG_LOAD), nullptr);
  }
  std::string storage;
  const char *file = row.arrange(dir, blue, storage);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(AddImage(file, row.loadFlag), nullptr) << row.name;
  }
  ASSERT_EQ(td::Boxes().size(), 2u) << row.name;
  if (row.afterAHead) {
    EXPECT_EQ(td::Boxes()[0].caption, "Error!");
    EXPECT_EQ(td::Boxes()[0].text, "Image could not be loaded and/or found");
  } else {
    EXPECT_EQ(td::Boxes()[0].caption, "Report");
    EXPECT_EQ(td::Boxes()[0].text, "Head image could not be loaded and/or found");
  }
  const std::string &out = td::DebugOutput();
  const size_t at = out.find(row.why);
  ASSERT_NE(at, std::string::npos) << row.name << ": " << out;
  EXPECT_EQ(at, out.rfind(row.why)) << row.name << ": said twice";
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << row.name << ": " << out;
}

const char *Named(std::string &storage, std::string name) {
  storage = std::move(name);
  return storage.c_str();
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ImageRefusals,
    ::testing::Values(
        RefusedImage{"Missing", true,
                     [](const bmp::TempDir &d, const std::string &, std::string &s) {
                       return Named(s, d.File("missing.bmp"));
                     },
                     IMG_LOAD, "cannot be opened"},
        RefusedImage{
            "NotABitmap", true,
            [](const bmp::TempDir &d, const std::string &, std::string &s) {
              const std::string path = d.File("text.bmp");
              EXPECT_TRUE(bmp::WriteFile(path, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}));
              return Named(s, path);
            },
            IMG_LOAD, "is not a Windows bitmap file"},
        RefusedImage{"OddDepth", true,
                     [](const bmp::TempDir &d, const std::string &, std::string &s) {
                       std::vector<uint8_t> bytes = bmp::Encode(bmp::Solid(4, 4, 0x00FF00));
                       bytes[28] = 7; // bits per pixel
                       const std::string path = d.File("odd.bmp");
                       EXPECT_TRUE(bmp::WriteFile(path, bytes));
                       return Named(s, path);
                     },
                     IMG_LOAD, "has 7 bits per pixel"},
        RefusedImage{"LongNameAsHead", false,
                     [](const bmp::TempDir &, const std::string &, std::string &s) {
                       return Named(s, std::string(304, 'x'));
                     },
                     IMG_LOAD, "256 characters or more"},
        RefusedImage{"NullName", true,
                     [](const bmp::TempDir &, const std::string &, std::string &) -> const char * {
                       return nullptr;
                     },
                     IMG_LOAD, "no file name was given"},
        RefusedImage{"Deferred", true,
                     [](const bmp::TempDir &, const std::string &blue, std::string &s) {
                       return Named(s, blue);
                     },
                     IMG_DEFER, "load flag is not IMG_LOAD"},
        RefusedImage{"NoDevice", false,
                     [](const bmp::TempDir &, const std::string &blue, std::string &s) {
                       vantrel::device = nullptr;
                       return Named(s, blue);
                     },
                     IMG_LOAD, "no display device"},
        RefusedImage{"ListBentIntoALoop", true,
                     [](const bmp::TempDir &, const std::string &blue, std::string &s) {
                       VImg *second = AddImage(blue.c_str(), IMG_LOAD);
                       EXPECT_NE(second, nullptr);
                       second->next = prog.ihead; // the module bends the list
                       return Named(s, blue);
                     },
                     IMG_LOAD, "loops back on itself"}),
    [](const ::testing::TestParamInfo<RefusedImage> &param) { return param.param.name; });

// A list bent into a loop is freed at exit with each image freed once (the
// sanitizers of the test build catch a second free or a leak).
TEST_F(ImageListTest, AListBentIntoALoopIsFreedOnce) {
  for (int loopTo = 0; loopTo < 4; ++loopTo) {
    for (int i = 0; i < 4; ++i) {
      ASSERT_NE(AddImage(red.c_str(), IMG_LOAD), nullptr);
    }
    std::vector<VImg *> list = List();
    ASSERT_EQ(list.size(), 4u);
    list[3]->next = list[static_cast<size_t>(loopTo)];
    delete prog.ihead;
    prog.ihead = nullptr;
  }
}

} // namespace
