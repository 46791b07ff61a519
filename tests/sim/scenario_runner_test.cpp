#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/settings/temp_dir.h"
#include "sim/scenario_runner.h"

namespace parlomat {
namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

class ScenarioRunnerTest : public ::testing::Test {
  protected:
    RunResult Run(const std::string& script) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream err;
        ScenarioRunner runner(dir_.path().string(), out, err);
        const int status = runner.run(in);
        return {status, out.str(), err.str()};
    }

    test::TempDir dir_;
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

}  // namespace
}  // namespace parlomat
