#include "platform/process_launcher.h"

#include <gtest/gtest.h>

#include "core/settings/temp_dir.h"
#include "platform/event_wait.h"

namespace parlomat::test {
namespace {

TEST(ProcessLauncher, StartsWithoutAShellOrRefusesAtOnce) {
    ProcessLauncher launcher;
    for (const char* line :
         {"   ", "\"/bin/true", "rec \"\"\"\"", "true;reboot", "/nonexistent/rec"}) {
        EXPECT_FALSE(launcher.start(line)) << line;
    }
    TempDir dir;
    const auto literal = dir.path() / "$HOME;x";
    ASSERT_TRUE(launcher.start("touch \"" + dir.file("a b") + "\" " + literal.string()));
    EXPECT_TRUE(WaitFor([&] { return exists(dir.path() / "a b") && exists(literal); }))
        << "no shell expanded or split the arguments";
}

}  // namespace
}  // namespace parlomat::test
