// Start-up: order, the class and window parameters, and every failure path
// with its boxes, what runs after it and the exit code.
#include "fake_module.h"

#include "display/display_mode.h"
#include "host/host_state.h"
#include "host/message_boxes.h"
#include "host/startup.h"
#include "host/window_proc.h"
#include "images/image_list.h"
#include "module/prog_instance.h"
#include "render/draw.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>; // text, caption

Boxes ShownBoxes() {
  Boxes boxes;
  for (const td::Box &box : td::Boxes()) {
    boxes.emplace_back(box.text, box.caption);
  }
  return boxes;
}

int64_t Addr(const void *p) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(p)); }

plat::HINSTANCE Instance() {
  static char instance;
  return reinterpret_cast<plat::HINSTANCE>(&instance);
}

int RunHost() { return vantrel::WinMain(Instance(), nullptr, nullptr, 5); }

class Startup : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    // Inactive, so the loop waits at once and the double ends the run.
    td::ActivateOnShow(false);
  }
};

TEST_F(Startup, RunsItsStepsInOrderWithTheWindowsParameters) {
  td::SetScreen(800, 600);
  const int code = RunHost();
  EXPECT_EQ(code, 0x7E57); // the double's quit when the loop waits for nothing

  EXPECT_EQ(
      td::CallNames({"RegisterClassA", "GetSystemMetrics", "CreateWindowExA", "ShowWindow",
                     "UpdateWindow", "SetFocus", "timeGetTime", "DirectDrawCreate",
                     "QueryInterface", "SetCooperativeLevel", "LoadLibraryA", "GetProcAddress",
                     "PeekMessageA", "WaitMessage", "GetMessageA", "MessageBoxA"}),
      (std::vector<std::string>{
          "RegisterClassA", "GetSystemMetrics", "GetSystemMetrics", "CreateWindowExA", "ShowWindow",
          "UpdateWindow", "SetFocus", "timeGetTime", "DirectDrawCreate", "QueryInterface",
          "SetCooperativeLevel", "LoadLibraryA", "GetProcAddress", "GetProcAddress", "PeekMessageA",
          "WaitMessage", "PeekMessageA", "GetMessageA", "MessageBoxA"}));

  const td::Call cls = td::CallsNamed("RegisterClassA").at(0);
  const std::vector<int64_t> classArgs = {
      3,
      Addr(reinterpret_cast<const void *>(&vantrel::WindowProc)),
      0,
      0,
      Addr(Instance()),
      Addr(plat::LoadIconA(nullptr, plat::IDI_APPLICATION)),
      Addr(plat::LoadCursorA(nullptr, plat::IDC_ARROW)),
      Addr(plat::GetStockObject(4))};
  EXPECT_EQ(cls.args, classArgs);
  EXPECT_EQ(cls.texts, (std::vector<std::string>{"Vantrel Engine Beta", "Vantrel Engine Beta"}));
  EXPECT_EQ(td::CallsNamed("LoadIconA").at(0).args, (std::vector<int64_t>{0, 32512}));
  EXPECT_EQ(td::CallsNamed("LoadCursorA").at(0).args, (std::vector<int64_t>{0, 32512}));
  EXPECT_EQ(td::CallsNamed("GetStockObject").at(0).args, (std::vector<int64_t>{4}));
  EXPECT_EQ(td::CallsNamed("GetSystemMetrics").at(0).args, (std::vector<int64_t>{0}));
  EXPECT_EQ(td::CallsNamed("GetSystemMetrics").at(1).args, (std::vector<int64_t>{1}));

  const td::Call wnd = td::CallsNamed("CreateWindowExA").at(0);
  EXPECT_EQ(wnd.args,
            (std::vector<int64_t>{0x8, 0x80000000LL, 0, 0, 800, 600, 0, 0, Addr(Instance()), 0}));
  EXPECT_EQ(wnd.texts, (std::vector<std::string>{"Vantrel Engine Beta", "Release 1 pre1"}));

  const int64_t window = Addr(td::MainWindow());
  ASSERT_NE(window, 0);
  EXPECT_EQ(vantrel::mainWindow, td::MainWindow());
  EXPECT_EQ(td::CallsNamed("ShowWindow").at(0).args, (std::vector<int64_t>{window, 5}));
  EXPECT_EQ(td::CallsNamed("UpdateWindow").at(0).args, (std::vector<int64_t>{window}));
  EXPECT_EQ(td::CallsNamed("SetFocus").at(0).args, (std::vector<int64_t>{window}));
  EXPECT_EQ(td::CallsNamed("LoadLibraryA").at(0).texts, (std::vector<std::string>{"prog.dll"}));
  EXPECT_EQ(td::CallsNamed("GetProcAddress").at(0).texts.at(0), "VProgInterface");
  EXPECT_EQ(td::CallsNamed("GetProcAddress").at(1).texts.at(0), "VProgProcedure");

  // The module: the record, then EV_INIT with 0, and at the end EV_SHUTDOWN.
  EXPECT_EQ(fake::M().record, &vantrel::prog);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_SHUTDOWN}));
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 0);
  EXPECT_EQ(fake::M().calls.at(1).elapsed, 0);
  EXPECT_EQ(ShownBoxes(), (Boxes{{"DESTROY!", "Error!"}}));
  EXPECT_EQ(td::Boxes().at(0).owner, td::MainWindow());
  EXPECT_EQ(td::Boxes().at(0).type, 0u);
}

TEST_F(Startup, FillsTheFiveSlotsBeforeHandingOverTheRecord) {
  bool checked = false;
  fake::M().onInterface = [&](VProg *record) {
    EXPECT_EQ(record->SetMode, &vantrel::SetMode);
    EXPECT_EQ(record->DrawMap, &vantrel::DrawMap);
    EXPECT_EQ(record->AddImage, &vantrel::AddImage);
    EXPECT_EQ(record->DrawSprite, &vantrel::DrawSprite);
    EXPECT_EQ(record->Report, &vantrel::ReportBox);
    EXPECT_TRUE(fake::M().calls.empty());
    checked = true;
  };
  RunHost();
  EXPECT_TRUE(checked);
}

TEST_F(Startup, InitialCallDrawsNoFrameAndKeepsTheFirstClockReading) {
  td::SetClock(1000);
  fake::M().onInterface = [](VProg *record) {
    EXPECT_EQ(record->SetMode(640, 480, 16), 1);
    td::AdvanceClock(100);
  };
  fake::M().procedureAnswer = 1; // asks for a frame every time
  fake::M().onProcedure = [](const fake::ProcCall &call) {
    if (call.event.code == EV_INIT) {
      td::AdvanceClock(50);
      // A module's first look at the record: untouched event fields.
      EXPECT_EQ(call.event.key, 0);
      EXPECT_EQ(call.event.aux, EVENT_AUX_DEFAULT);
      EXPECT_EQ(call.event.mouseX, 0);
      EXPECT_EQ(call.event.mouseY, 0);
    }
  };
  // After start-up, a key press: its elapsed covers everything since the
  // window was shown, module set-up and the initial call included.
  td::Post(plat::WM_KEYDOWN, 'A');
  RunHost();
  ASSERT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_KEYDOWN, EV_SHUTDOWN}));
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 0);
  EXPECT_EQ(fake::M().calls.at(1).elapsed, 150);
  // Only the key event drew a frame.
  EXPECT_EQ(td::CountCalls("Flip"), 1);
}

TEST_F(Startup, WindowThatCannotBeCreatedShowsOneBoxAndFails) {
  td::Script("CreateWindowExA", {0});
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(), (Boxes{{"Unexpected Windows error (hwnd was NULL).", "Error!"}}));
  EXPECT_EQ(td::Boxes().at(0).owner, nullptr);
  EXPECT_EQ(td::CountCalls("ShowWindow"), 0);
  EXPECT_EQ(td::CountCalls("DirectDrawCreate"), 0);
  EXPECT_EQ(td::CountCalls("LoadLibraryA"), 0);
  EXPECT_EQ(fake::M().interfaceCalls, 0);
  EXPECT_TRUE(fake::M().calls.empty());
}

TEST_F(Startup, RefusedClassRegistrationFailsAtTheWindow) {
  td::Script("RegisterClassA", {0});
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(), (Boxes{{"Unexpected Windows error (hwnd was NULL).", "Error!"}}));
  EXPECT_EQ(td::CountCalls("CreateWindowExA"), 1);
}

struct DisplayFailure {
  const char *call;
  const char *text;
  const char *notCalled; // the next step, which must not run
};

class StartupDisplayFailure : public Startup,
                              public ::testing::WithParamInterface<DisplayFailure> {};

TEST_P(StartupDisplayFailure, NamesTheCallThenStopsBeforeTheModule) {
  td::Script(GetParam().call, {plat::E_FAIL});
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(), (Boxes{{GetParam().text, "Error!"},
                                 {"API could not be initialized!", "Error!"},
                                 {"DESTROY!", "Error!"}}));
  for (const td::Box &box : td::Boxes()) {
    EXPECT_EQ(box.owner, td::MainWindow());
  }
  EXPECT_EQ(td::CountCalls(GetParam().notCalled), 0);
  EXPECT_EQ(td::CountCalls("LoadLibraryA"), 0);
  EXPECT_EQ(fake::M().interfaceCalls, 0);
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, EV_SHUTDOWN);
  EXPECT_EQ(td::CountCalls("PeekMessageA"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupDisplayFailure,
    ::testing::Values(
        DisplayFailure{"DirectDrawCreate", "DirectDrawCreate failed", "QueryInterface"},
        DisplayFailure{"QueryInterface", "QueryInterface failed", "SetCooperativeLevel"},
        DisplayFailure{"SetCooperativeLevel", "SetCooperativeLevel failed", "LoadLibraryA"}));

TEST_F(Startup, MissingModuleShowsItsBoxThenShutsDownWithoutCallingAnything) {
  td::Reset(); // no module registered at all
  td::ActivateOnShow(false);
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(), (Boxes{{"prog.dll was not found or is not a valid DLL.", "Error!"},
                                 {"DESTROY!", "Error!"}}));
  EXPECT_EQ(vantrel::progInterface, nullptr);
  EXPECT_EQ(vantrel::progProcedure, nullptr);
  EXPECT_EQ(td::CountCalls("PeekMessageA"), 0);
}

TEST_F(Startup, ModuleWithOnlyItsProcedureHearsTheShutdown) {
  td::Reset();
  td::ActivateOnShow(false);
  fake::M() = fake::Module{};
  td::RegisterModule("prog.dll", nullptr, fake::Procedure);
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(),
            (Boxes{{"VProgInterface was not found in prog.dll - invalid DLL", "Error!"},
                   {"DESTROY!", "Error!"}}));
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_SHUTDOWN}));
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 0);
}

TEST_F(Startup, ModuleWithoutItsProcedureIsNeverCalled) {
  td::Reset();
  td::ActivateOnShow(false);
  fake::M() = fake::Module{};
  td::RegisterModule("prog.dll", fake::Interface, nullptr);
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(),
            (Boxes{{"VProgProcedure was not found in prog.dll - invalid DLL", "Error!"},
                   {"DESTROY!", "Error!"}}));
  EXPECT_EQ(fake::M().interfaceCalls, 0);
  EXPECT_EQ(vantrel::progInterface, &fake::Interface); // the one found stays set
  EXPECT_EQ(vantrel::prog.event.code, EV_SHUTDOWN);
}

TEST_F(Startup, RefusedRecordIsReportedNotAnErrorAndEndsTheRun) {
  fake::M().interfaceAnswer = 0;
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(),
            (Boxes{{"VProgInterface(&prog) failed", "Report"}, {"DESTROY!", "Error!"}}));
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_SHUTDOWN}));
  EXPECT_EQ(td::CountCalls("PeekMessageA"), 0);
}

TEST_F(Startup, NewerModuleVersionIsRefusedAfterTheRecordIsAccepted) {
  fake::M().onInterface = [](VProg *record) { record->version = MODULE_VERSION_MAX + 1; };
  EXPECT_EQ(RunHost(), 1);
  EXPECT_EQ(ShownBoxes(),
            (Boxes{{"Module is newer version, not supported", "Error!"}, {"DESTROY!", "Error!"}}));
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_SHUTDOWN}));
  EXPECT_EQ(td::CountCalls("PeekMessageA"), 0);
}

TEST_F(Startup, SupportedModuleVersionsRunNormally) {
  for (int32_t version : {int32_t{MODULE_VERSION_MAX}, 0, -7}) {
    fake::Install();
    td::ActivateOnShow(false);
    fake::M().onInterface = [version](VProg *record) { record->version = version; };
    EXPECT_EQ(RunHost(), 0x7E57) << version;
    EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_SHUTDOWN})) << version;
  }
  EXPECT_EQ(vantrel::CheckModuleVersion(nullptr), 0);
}

TEST_F(Startup, BoxRoutinesAnswerTheirFixedValues) {
  EXPECT_EQ(vantrel::ErrorBox("e"), 0);
  EXPECT_EQ(vantrel::ReportBox("r"), 1);
  EXPECT_EQ(vantrel::ReportBox(nullptr), 1); // a module's null text shows an empty box
  EXPECT_EQ(ShownBoxes(), (Boxes{{"e", "Error!"}, {"r", "Report"}, {"", "Report"}}));
}

} // namespace
