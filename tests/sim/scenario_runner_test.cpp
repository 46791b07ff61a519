#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "sim/scenario_runner.h"

namespace parlomat {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

class ScenarioRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("parlomat-runner-test-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    RunResult Run(const std::string& script) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream err;
        ScenarioRunner runner(dir_.string(), out, err);
        const int status = runner.run(in);
        return {status, out.str(), err.str()};
    }

    fs::path dir_;
};

TEST_F(ScenarioRunnerTest, AnUnparsableLineExits2NamingItAndNothingAfterItRuns) {
    const char* bad_lines[] = {
        "advanse 10",    "click cmdFoo",    "click optMessage 6",        "key F13",
        "key F1 alt",    "set txtPAM 6 20", "set chkLoop 1 3",           "menu Help",
        "menu File 1 2", "reply maybe",     "statusbar click pnlX",      "line RTS on",
        "cat \"a\\q\"",  "dialog cmbFoo 1", "clock 2026-02-30 12:00:00", "advance -5",
        "write x.ini",
    };
    for (const char* bad : bad_lines) {
        const RunResult result = Run(std::string("# comment\n\ncat x.ini\n") + bad + "\ncat y\n");
        EXPECT_EQ(result.status, ScenarioRunner::kBadLine) << bad;
        EXPECT_NE(result.err.find("line 4"), std::string::npos) << bad << ": " << result.err;
        EXPECT_EQ(result.out, "       0 file x.ini missing\n") << bad;
    }
}

TEST_F(ScenarioRunnerTest, CommandsOutOfPlaceFailWithStatus1) {
    EXPECT_EQ(Run("click cmdStart\n").status, ScenarioRunner::kFailed);
    EXPECT_EQ(Run("show\n").status, ScenarioRunner::kFailed);
    EXPECT_EQ(Run("start\nport busy\n").status, ScenarioRunner::kFailed);
    EXPECT_EQ(Run("start\nstart\n").status, ScenarioRunner::kFailed);
    EXPECT_EQ(Run("advance 5\nreply yes\nchoose cancel\nline CTS on\n").status,
              ScenarioRunner::kDone);
}

TEST_F(ScenarioRunnerTest, WrittenFilesComeBackLineByLineWithQuotedNames) {
    const RunResult result =
        Run("write \"my \\\"cfg\\\".pmc\"\n  [MSG Config]\nMSG1=a b \n\nend\n"
            "cat \"my \\\"cfg\\\".pmc\"\n");
    EXPECT_EQ(result.status, ScenarioRunner::kDone) << result.err;
    EXPECT_EQ(result.out,
              "       0 file my \"cfg\".pmc\n  |   [MSG Config]\n  | MSG1=a b \n  | \n");
}

TEST_F(ScenarioRunnerTest, ThePreferencesDialogSwallowsMainWindowInputWhileTimersGoOn) {
    const RunResult result =
        Run("start\nadvance 10\nmenu File 2\nadvance 200\nclick cmdXmit\nkey F12\nclose\n"
            "statusbar click\nmenu Options 2\ndialog cmdCancel\nclick cmdXmit\n");
    ASSERT_EQ(result.status, ScenarioRunner::kDone) << result.err;
    const auto opened = result.out.find("window frmPreferences shown");
    const auto closed = result.out.find("window frmPreferences closed");
    ASSERT_NE(opened, std::string::npos);
    ASSERT_NE(closed, std::string::npos);
    const std::string modal = result.out.substr(opened, closed - opened);
    EXPECT_NE(modal.find("     210 panel pnlTime"), std::string::npos);
    EXPECT_EQ(modal.find("PTT On"), std::string::npos);
    EXPECT_EQ(modal.find("msgbox"), std::string::npos);
    EXPECT_EQ(modal.find("mnuOptionsItem"), std::string::npos);
    EXPECT_NE(result.out.find("panel pnlFeedback \"Manual PTT On\"", closed), std::string::npos);
}

TEST_F(ScenarioRunnerTest, AfterTheProgramEndsOnlyCatRuns) {
    const RunResult result =
        Run("start\nadvance 10\nreply yes\nclose\nadvance 1000\nshow\nkey F12\ncat parlomat.ini\n");
    ASSERT_EQ(result.status, ScenarioRunner::kDone) << result.err;
    const auto exit = result.out.find("      10 exit\n");
    ASSERT_NE(exit, std::string::npos);
    const std::string expected = "      10 exit\n      10 file parlomat.ini\n  | [MSG Config]\n";
    EXPECT_EQ(result.out.substr(exit, expected.size()), expected);
}

TEST_F(ScenarioRunnerTest, TheMainWindowOpensTenMillisecondsAfterStart) {
    const RunResult result =
        Run("clock 2026-03-04 05:06:07.890\nstart\nadvance 9\nkey F12\nadvance 1\n");
    ASSERT_EQ(result.status, ScenarioRunner::kDone) << result.err;
    EXPECT_EQ(result.out.rfind("       0 window frmSplash shown\n", 0), 0u);
    EXPECT_NE(result.out.find("      10 window frmMainScreen shown\n"), std::string::npos);
    EXPECT_EQ(result.out.find("No filename assigned"), std::string::npos);
}

}  // namespace
}  // namespace parlomat
