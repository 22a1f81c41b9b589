// Loading real libraries named prog.dll, one folder per kind of module.
#include "host/startup.h"
#include "module/module_loader.h"
#include "module/prog_instance.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ModuleLoader : public ::testing::Test {
protected:
  void SetUp() override { td::Reset(); }

  static void UseFolder(const std::string &kind) {
    td::SetModuleFolder(std::string(VANTREL_TEST_MODULES) + "/" + kind);
  }

  static std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const td::Box &box : td::Boxes()) {
      EXPECT_EQ(box.caption, "Error!");
      texts.push_back(box.text);
    }
    return texts;
  }
};

TEST_F(ModuleLoader, LibraryWithBothExportsLoadsWithoutABox) {
  UseFolder("both_exports");
  EXPECT_EQ(vantrel::LoadModule(), 1);
  EXPECT_TRUE(td::Boxes().empty());
  EXPECT_NE(vantrel::progInterface, nullptr);
  EXPECT_NE(vantrel::progProcedure, nullptr);
  EXPECT_EQ(td::CallsNamed("LoadLibraryA").at(0).texts, (std::vector<std::string>{"prog.dll"}));
}

TEST_F(ModuleLoader, LibraryWithOnlyItsProcedureNamesTheInterface) {
  UseFolder("procedure_only");
  EXPECT_EQ(vantrel::LoadModule(), 0);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"VProgInterface was not found in prog.dll - invalid DLL"}));
  EXPECT_EQ(vantrel::progInterface, nullptr);
  EXPECT_NE(vantrel::progProcedure, nullptr); // what was found stays set
}

TEST_F(ModuleLoader, LibraryWithoutEitherExportNamesBoth) {
  for (const char *kind : {"no_exports", "decorated_only"}) {
    td::Reset();
    UseFolder(kind);
    EXPECT_EQ(vantrel::LoadModule(), 0) << kind;
    EXPECT_EQ(Texts(), (std::vector<std::string>{"VProgInterface and VProgProcedure was not "
                                                 "found in prog.dll - invalid DLL"}))
        << kind;
    EXPECT_EQ(vantrel::progInterface, nullptr) << kind;
    EXPECT_EQ(vantrel::progProcedure, nullptr) << kind;
  }
}

TEST_F(ModuleLoader, MissingFileOrNoLibraryAtAllIsNotAValidDll) {
  for (const char *kind : {"not_a_library", "empty"}) {
    td::Reset();
    UseFolder(kind);
    EXPECT_EQ(vantrel::LoadModule(), 0) << kind;
    EXPECT_EQ(Texts(), (std::vector<std::string>{"prog.dll was not found or is not a valid DLL."}))
        << kind;
    EXPECT_EQ(td::CountCalls("GetProcAddress"), 0) << kind;
    EXPECT_EQ(vantrel::progInterface, nullptr) << kind;
    EXPECT_EQ(vantrel::progProcedure, nullptr) << kind;
  }
}

TEST_F(ModuleLoader, RealModuleRunsAndCallsBackIntoTheHost) {
  UseFolder("both_exports");
  td::ActivateOnShow(false);
  EXPECT_EQ(vantrel::WinMain(nullptr, nullptr, nullptr, 1), 0x7E57);
  ASSERT_EQ(td::Boxes().size(), 2u);
  EXPECT_EQ(td::Boxes().at(0).text, "module ready");
  EXPECT_EQ(td::Boxes().at(0).caption, "Report");
  EXPECT_EQ(td::Boxes().at(1).text, "DESTROY!");
}

} // namespace
