// UploadBitmap step by step: the calls it makes with their arguments, and
// every failing step with what stays behind.
#include "image_fixture.h"

#include "display/display_state.h"
#include "images/bitmap_upload.h"

#include <functional>
#include <memory>

namespace {

using vantrel::UploadBitmap;

const std::vector<std::string> kUploadCalls = {
    "GetModuleHandleA", "LoadImageA", "GetObjectA",  "CreateSurface", "CreateCompatibleDC",
    "SelectObject",     "GetDC",      "BitBlt",      "ReleaseDC",     "DeleteDC",
    "DeleteObject",     "Lock",       "SetColorKey", "Unlock",        "OutputDebugStringA",
    "ReleaseSurface",   "Blt",        "BltFast",     "SetDisplayMode"};

class UploadTest : public ImageTest {
protected:
  void SetUp() override {
    ImageTest::SetUp();
    OpenDisplay(32);
    path = Write("pic.bmp", bmp::Solid(5, 3, 0x123456));
    image = std::make_unique<VImg>(new VSurf(), path.c_str(), IMG_LOAD);
  }

  // The upload's platform calls, in order.
  static std::vector<std::string> Calls() { return td::CallNames(kUploadCalls); }

  // Every bitmap, memory context, surface context and lock the upload
  // obtained was given back.
  static void ExpectNothingHeld() {
    // GetObjectA is asked only about a bitmap that was loaded.
    EXPECT_EQ(td::CountCalls("DeleteObject"), td::CountCalls("GetObjectA"));
    EXPECT_EQ(td::CountCalls("DeleteDC"), td::CountCalls("SelectObject"));
    EXPECT_EQ(td::CountCalls("ReleaseDC"), td::CountCalls("BitBlt"));
  }

  VSurf &Holder() { return *image->surf; }
  plat::Surface Surface() { return static_cast<plat::Surface>(Holder().surface); }

  std::string path;
  std::unique_ptr<VImg> image;
};

TEST_F(UploadTest, CallsAndArgumentsOfASuccessfulUpload) {
  ASSERT_EQ(UploadBitmap(image.get()), 1);
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "GetModuleHandleA", "LoadImageA", "GetObjectA", "CreateSurface",
                         "CreateCompatibleDC", "SelectObject", "GetDC", "BitBlt", "ReleaseDC",
                         "DeleteDC", "DeleteObject", "Lock", "SetColorKey", "Unlock"}));
  const td::Call load = td::CallsNamed("LoadImageA")[0];
  EXPECT_NE(load.args[0], 0);                                             // the instance
  EXPECT_EQ(std::vector<int64_t>(load.args.begin() + 1, load.args.end()), // type, size, flags
            (std::vector<int64_t>{0, 0, 0, 0x2010}));
  EXPECT_EQ(load.texts.at(0), path);
  EXPECT_EQ(td::CallsNamed("GetObjectA")[0].args[1], static_cast<int64_t>(sizeof(plat::BITMAP)));

  const td::Call create = td::CallsNamed("CreateSurface")[0];
  EXPECT_EQ(create.args[0], reinterpret_cast<intptr_t>(vantrel::device));
  EXPECT_EQ(create.args[1], static_cast<int64_t>(sizeof(plat::DDSURFACEDESC2)));
  EXPECT_EQ(create.args[2], 7);    // caps, height, width
  EXPECT_EQ(create.args[3], 5);    // width
  EXPECT_EQ(create.args[4], 3);    // height
  EXPECT_EQ(create.args[6], 0x40); // an off-screen plain surface
  EXPECT_EQ(create.args[8], 0);    // no aggregation

  // The bitmap goes into the memory context, which is the copy's source; the
  // surface's context is its target and is given back.
  const td::Call select = td::CallsNamed("SelectObject")[0];
  const td::Call blit = td::CallsNamed("BitBlt")[0];
  const td::Call release = td::CallsNamed("ReleaseDC")[0];
  const int64_t surface = reinterpret_cast<intptr_t>(Surface());
  EXPECT_EQ(blit.args, (std::vector<int64_t>{blit.args[0], 0, 0, 5, 3, select.args[0], 0, 0,
                                             static_cast<int64_t>(plat::SRCCOPY)}));
  EXPECT_EQ(release.args, (std::vector<int64_t>{surface, blit.args[0]}));
  EXPECT_EQ(td::CallsNamed("DeleteDC")[0].args[0], select.args[0]);
  EXPECT_EQ(td::CallsNamed("DeleteObject")[0].args[0], select.args[1]);
  EXPECT_EQ(td::CallsNamed("GetObjectA")[0].args[0], select.args[1]);

  // Read-only lock of the whole surface that waits for the device to finish
  // the copy (DDLOCK_WAIT | DDLOCK_READONLY).
  EXPECT_EQ(td::CallsNamed("Lock")[0].args, (std::vector<int64_t>{surface, 0, 0x11}));
  const td::Call key = td::CallsNamed("SetColorKey")[0];
  EXPECT_EQ(key.args[0], surface);
  EXPECT_EQ(key.args[1], 8);
  EXPECT_EQ(key.args[2], key.args[3]);
  EXPECT_EQ(td::CallsNamed("Unlock")[0].args, (std::vector<int64_t>{surface, 0}));

  EXPECT_EQ(Holder().width, 5);
  EXPECT_EQ(Holder().height, 3);
  EXPECT_EQ(soft::PixelRgb(Surface(), 4, 2), 0x123456u);
  EXPECT_TRUE(td::DebugOutput().empty());
  ExpectNothingHeld();
}

// One row per failing step: how it is made to fail, the answer, the calls
// made, and whether the holder keeps width, height and a surface.
struct FailureRow {
  const char *name;
  std::function<void()> arrange;
  int32_t answer;
  std::vector<std::string> calls;
  bool sized;
  bool hasSurface;
  bool keyed;
};

class UploadFailureTest : public UploadTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(UploadFailureTest, StopsCleanly) {
  const FailureRow &row = GetParam();
  row.arrange();
  EXPECT_EQ(UploadBitmap(image.get()), row.answer);
  EXPECT_EQ(Calls(), row.calls);
  EXPECT_EQ(Holder().width, row.sized ? 5 : 0);
  EXPECT_EQ(Holder().height, row.sized ? 3 : 0);
  EXPECT_EQ(Surface() != nullptr, row.hasSurface);
  if (row.hasSurface) {
    EXPECT_EQ(View(Surface()).hasKey, row.keyed);
  }
  if (row.hasSurface && row.name != std::string("Unlock")) {
    // Never left locked: a new lock is granted.
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(soft::Lock(Surface(), nullptr, &desc, plat::DDLOCK_READONLY, nullptr), plat::DD_OK);
    EXPECT_EQ(soft::Unlock(Surface(), nullptr), plat::DD_OK);
  }
  ExpectNothingHeld();
}

const std::vector<std::string> kToLock = {
    "GetModuleHandleA",   "LoadImageA",   "GetObjectA",   "CreateSurface",
    "CreateCompatibleDC", "SelectObject", "GetDC",        "BitBlt",
    "ReleaseDC",          "DeleteDC",     "DeleteObject", "Lock"};

std::vector<std::string> Plus(std::vector<std::string> calls, std::vector<std::string> more) {
  calls.insert(calls.end(), more.begin(), more.end());
  return calls;
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, UploadFailureTest,
    ::testing::Values(
        FailureRow{"LoadImage",
                   [] { td::Script("LoadImageA", {0}); },
                   0,
                   {"GetModuleHandleA", "LoadImageA", "OutputDebugStringA"}, // and why
                   false,
                   false,
                   false},
        FailureRow{"GetObject",
                   [] { td::Script("GetObjectA", {0}); },
                   0,
                   {"GetModuleHandleA", "LoadImageA", "GetObjectA", "DeleteObject"},
                   false,
                   false,
                   false},
        FailureRow{"CreateSurface",
                   [] { td::Script("CreateSurface", {plat::DDERR_OUTOFMEMORY}); },
                   0,
                   {"GetModuleHandleA", "LoadImageA", "GetObjectA", "CreateSurface",
                    "OutputDebugStringA", "DeleteObject"},
                   true,
                   false,
                   false},
        FailureRow{
            "NoSurfaceDelivered",
            [] { td::ScriptCreateSurfaceWithoutSurface(); },
            NO_SURFACE,
            {"GetModuleHandleA", "LoadImageA", "GetObjectA", "CreateSurface", "DeleteObject"},
            true,
            false,
            false},
        FailureRow{"GetDC",
                   [] { td::Script("GetDC", {plat::DDERR_SURFACELOST}); },
                   0,
                   {"GetModuleHandleA", "LoadImageA", "GetObjectA", "CreateSurface",
                    "CreateCompatibleDC", "SelectObject", "GetDC", "DeleteDC", "DeleteObject"},
                   true,
                   true,
                   false},
        // A refused lock is not retried: one Lock, whatever the reason (a
        // device that still answers "still drawing" to a waiting lock too).
        FailureRow{"LockStillDrawing", [] { td::Script("Lock", {plat::DDERR_WASSTILLDRAWING}); }, 0,
                   kToLock, true, true, false},
        FailureRow{"LockBusy", [] { td::Script("Lock", {plat::DDERR_SURFACEBUSY}); }, 0, kToLock,
                   true, true, false},
        FailureRow{"SetColorKey", [] { td::Script("SetColorKey", {plat::DDERR_INVALIDPARAMS}); }, 0,
                   Plus(kToLock, {"SetColorKey", "Unlock"}), true, true, false},
        FailureRow{"Unlock", [] { td::Script("Unlock", {plat::DDERR_NOTLOCKED}); }, 0,
                   Plus(kToLock, {"SetColorKey", "Unlock"}), true, true, true}),
    [](const ::testing::TestParamInfo<FailureRow> &row) { return row.param.name; });

TEST_F(UploadTest, WithoutAMemoryContextTheUploadGoesOn) {
  td::Script("CreateCompatibleDC", {0});
  EXPECT_EQ(UploadBitmap(image.get()), 1);
  EXPECT_EQ(td::DebugOutput(), "CreateCompatableDC failed\n");
  // Nothing to copy from: the surface keeps its first contents, and nothing
  // was selected or deleted for the missing context.
  EXPECT_EQ(td::CountCalls("BitBlt"), 0);
  EXPECT_EQ(td::CountCalls("SelectObject"), 0);
  EXPECT_EQ(td::CountCalls("DeleteDC"), 0);
  EXPECT_EQ(td::CountCalls("GetDC"), td::CountCalls("ReleaseDC"));
  EXPECT_EQ(td::CountCalls("DeleteObject"), 1);
  EXPECT_TRUE(View(Surface()).hasKey);
}

TEST_F(UploadTest, WithoutADeviceNoSurfaceIsAskedFor) {
  vantrel::device = nullptr;
  EXPECT_EQ(UploadBitmap(image.get()), 0);
  EXPECT_EQ(td::CountCalls("CreateSurface"), 0);
  EXPECT_EQ(Surface(), nullptr);
  ExpectNothingHeld();
}

TEST_F(UploadTest, WithoutAHolderNothingIsRead) {
  VImg bare(nullptr, path.c_str(), IMG_LOAD);
  EXPECT_EQ(UploadBitmap(&bare), NO_SURFACE);
  EXPECT_EQ(UploadBitmap(nullptr), 0);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
}

TEST_F(UploadTest, BeforeAnyModeTheSurfaceTakesTheDevicesFirstFormat) {
  td::Reset();
  OpenDisplay(0);
  ASSERT_EQ(UploadBitmap(image.get()), 1);
  EXPECT_EQ(View(Surface()).bpp, 32);
  EXPECT_EQ(soft::PixelRgb(Surface(), 0, 0), 0x123456u);
}

} // namespace
