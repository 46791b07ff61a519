#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_channels.h"
#include "sim/sim_launcher.h"
#include "sim/sim_scheduler.h"
#include "sim/trace.h"

namespace parlomat {
namespace {

class CountingListener : public ChannelListener {
  public:
    void mci_StatusUpdate(int index) override { calls.push_back(index); }
    std::vector<int> calls;
};

class SimDevicesTest : public ::testing::Test {
  protected:
    SimScheduler scheduler_;
    std::ostringstream out_;
    Trace trace_{scheduler_, out_};
};

TEST_F(SimDevicesTest, StatusUpdatesFollowTheIntervalAndAnUnchangedIntervalKeepsItsCountdown) {
    SimChannels channels(scheduler_, trace_, "");
    CountingListener listener;
    channels.set_listener(&listener);
    channels.SetUpdateInterval(2, 100);
    scheduler_.advance(Ms{60});
    channels.SetUpdateInterval(2, 100);
    scheduler_.advance(Ms{40});
    EXPECT_EQ(listener.calls, std::vector<int>({2}));
    scheduler_.advance(Ms{400});
    EXPECT_EQ(listener.calls.size(), 5u);
    channels.SetUpdateInterval(2, 0);
    scheduler_.advance(Ms{1000});
    EXPECT_EQ(listener.calls.size(), 5u);
    channels.set_listener(nullptr);
}

TEST_F(SimDevicesTest, CommandLinesSplitLikeADesktop) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* line;
        std::optional<Words> words;
    };
    const Case cases[] = {
        {"pavucontrol --tab=1", Words{"pavucontrol", "--tab=1"}},
        {"  a   b  ", Words{"a", "b"}},
        {"\"/opt/my rec/rec\" -x", Words{"/opt/my rec/rec", "-x"}},
        {"say \"he said \"\"\"hi\"\"\"\"", Words{"say", "he said \"hi\""}},
        {"a \"\" b", Words{"a", "b"}},
        {"x\"y z\"w", Words{"xy zw"}},
        {"", Words{}},
        {"rec \"unbalanced", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SimLauncher::SplitCommand(c.line), c.words) << c.line;
    }
}

}  // namespace
}  // namespace parlomat
