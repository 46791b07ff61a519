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

    // Line 4 cannot run: the script ends there with `status`, the message names line 4, and
    // nothing after it runs.
    void ExpectEndsAtLine4(const std::string& line2, const std::string& line4, int status) {
        const RunResult result = Run("cat x.ini\n# comment\n" + line2 + "\n" + line4 + "\ncat y\n");
        EXPECT_EQ(result.status, status) << line4;
        EXPECT_NE(result.err.find("line 4:"), std::string::npos) << line4 << ": " << result.err;
        EXPECT_EQ(result.out, "       0 file x.ini missing\n") << line4;
    }

    test::TempDir dir_;
};

TEST_F(ScenarioRunnerTest, ABadLineEndsTheScriptWithStatus2) {
    const char* bad_lines[] = {
        "advanse 10",           "click optMessage 6", "key F13",
        "key F1 alt",           "set chkLoop 1 3",    "menu File 1 2",
        "statusbar click pnlX", "cat \"a\\q\"",       "clock 2026-02-30 12:00:00",
        "advance -5",           "write x.ini",        "start loud",
    };
    for (const char* bad : bad_lines) {
        ExpectEndsAtLine4("start quiet", bad, ScenarioRunner::kBadLine);
    }
}

TEST_F(ScenarioRunnerTest, ACommandOutOfPlaceEndsTheScriptWithStatus1) {
    for (const char* before_start : {"show", "click cmdStart"}) {
        ExpectEndsAtLine4("", before_start, ScenarioRunner::kFailed);
    }
    for (const char* after_start : {"start", "port busy", "link 1", "clock 2026-01-01 00:00:00"}) {
        ExpectEndsAtLine4("start quiet", after_start, ScenarioRunner::kFailed);
    }
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
