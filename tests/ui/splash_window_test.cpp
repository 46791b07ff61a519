#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "ui/splash_window.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

TEST(SplashWindowView, AnyClickOrKeyOpensTheMainWindow) {
    const std::vector<std::function<void(SplashWindow&)>> acts = {
        [](SplashWindow& s) { QTest::mouseClick(s.findChild<QLabel*>("imgLogo"), Qt::LeftButton); },
        [](SplashWindow& s) { QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(2, 2)); },  // edge
        [](SplashWindow& s) { QTest::keyClick(&s, Qt::Key_Space); },
    };
    for (size_t i = 0; i < acts.size(); ++i) {
        UiRig rig(two_messages, false);
        rig.splash.Show();
        SplashWindow* splash = rig.window.splash_window();
        ASSERT_TRUE(splash && splash->isVisible());
        acts[i](*splash);
        rig.advance(10);
        EXPECT_TRUE(rig.window.isVisible()) << "way " << i;
        EXPECT_EQ(rig.window.splash_window(), nullptr);
    }
}

}  // namespace
}  // namespace parlomat::test
