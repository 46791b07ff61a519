#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "ui/name_box.h"
#include "ui/splash_window.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

TEST(SplashWindowView, AnyClickOrKeyOpensTheMainWindow) {
    struct Case {
        const char* name;
        std::function<void(SplashWindow&)> act;
    };
    const std::vector<Case> cases = {
        {"click on the picture",
         [](SplashWindow& s) {
             QTest::mouseClick(s.findChild<QLabel*>("imgLogo"), Qt::LeftButton);
         }},
        {"click on the window's edge",
         [](SplashWindow& s) { QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(2, 2)); }},
        {"a key", [](SplashWindow& s) { QTest::keyClick(&s, Qt::Key_Space); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UiRig rig(two_messages, false);
        rig.splash.Show();
        SplashWindow* splash = rig.window.splash_window();
        ASSERT_TRUE(splash && splash->isVisible());
        rig.advance(1000);
        EXPECT_FALSE(rig.window.isVisible()) << "the start-up window has no time-out";

        c.act(*splash);
        rig.advance(10);
        EXPECT_TRUE(rig.window.isVisible());
        EXPECT_EQ(rig.window.splash_window(), nullptr);
    }
}

}  // namespace
}  // namespace parlomat::test
