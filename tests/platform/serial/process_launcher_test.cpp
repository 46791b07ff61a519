#include "platform/process_launcher.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;

TEST(ProcessLauncher, ProgramExistsOnlyForExecutableFiles) {
    TempDir dir;
    const auto plain = dir.path() / "notes.txt";
    std::ofstream(plain) << "text";
    const auto script = dir.path() / "recorder";
    std::ofstream(script) << "#!/bin/sh\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);

    const struct {
        std::string program;
        bool exists;
    } cases[] = {
        {"sh", true},
        {script.string(), true},
        {plain.string(), false},
        {dir.path().string(), false},
        {"parlomat-no-such-program", false},
        {"", false},
    };
    ProcessLauncher launcher;
    for (const auto& c : cases) {
        EXPECT_EQ(launcher.program_exists(c.program), c.exists) << c.program;
    }
}

TEST(ProcessLauncher, QuotesMustCloseAsTheSplitterReadsThem) {
    const struct {
        const char* line;
        bool balanced;
    } cases[] = {
        {"\"/opt/my recorder/rec\" -r", true},
        {"rec \"\"\"", true},
        {"rec \"a \"\"\" b\"", true},
        {"\"rec", false},
        {"rec \"a b", false},
        {"rec \"\"\"\"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProcessLauncher::QuotesBalanced(c.line), c.balanced) << c.line;
    }
}

TEST(ProcessLauncher, StartRefusesWhatItCannotRunWithoutAShell) {
    const char* refused[] = {
        "", "   ", "\"/bin/true", "parlomat-no-such-program -r", "true;reboot", "/nonexistent/rec",
    };
    ProcessLauncher launcher;
    for (const char* line : refused) {
        EXPECT_FALSE(launcher.start(line)) << line;
    }
}

TEST(ProcessLauncher, StartPassesQuotedArgumentsLiterally) {
    TempDir dir;
    const auto spaced = dir.path() / "a b";
    const auto literal = dir.path() / "$HOME;x";
    ProcessLauncher launcher;
    ASSERT_TRUE(launcher.start("touch \"" + spaced.string() + "\" " + literal.string()));
    for (int i = 0;
         i < 500 && !(std::filesystem::exists(spaced) && std::filesystem::exists(literal)); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(spaced));
    EXPECT_TRUE(std::filesystem::exists(literal)) << "no shell expanded or split the argument";
}

}  // namespace
}  // namespace parlomat
