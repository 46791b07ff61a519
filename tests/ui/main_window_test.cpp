#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "ui/loop_box.h"
#include "ui/name_box.h"
#include "ui/status_panel_bar.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

/// Each check mark sits where the core's check-menu map places it.
void expect_checks_match_state(UiRig& rig) {
    MainWindow& w = rig.window;
    for (int c = 0; c < kCheckCount; ++c) {
        const CheckPlace& place = kCheckPlaces[c];
        const bool shown = place.holder == CheckHolder::mnuOptionsItem
                               ? w.mnuOptionsItem(place.item)->isChecked()
                           : place.holder == CheckHolder::mnuOptionsTimingItem
                               ? w.mnuOptionsTimingItem(place.item)->isChecked()
                               : w.findChild<QCheckBox*>(place.name)->isChecked();
        EXPECT_EQ(shown, rig.keyer.state().checks[c]) << place.name << " " << place.item;
    }
}

using Reached = std::function<bool(UiRig&, const std::string& log)>;

Reached traced(std::string line) {
    return [line](UiRig&, const std::string& log) { return log.find(line) != std::string::npos; };
}

Reached feedback(std::string text) {
    return
        [text](UiRig& r, auto&) { return r.keyer.state().panels[int(Panel::pnlFeedback)] == text; };
}

Reached check(Check which) {
    return [which](UiRig& r, const std::string&) { return r.keyer.state().checks[int(which)]; };
}

TEST(MainWindowView, ControlsReachTheirHandlers) {
    struct Case {
        const char* name;  // a widget's object name, or the menu's for a menu item
        QAction* (MainWindow::*menu)(int) const;
        int item;
        int slot;  // the active slot when the control is used
        Reached reached;
    };
    const std::vector<Case> cases = {
        {"cmdLoad", nullptr, 0, 2, traced("filedialog open \"Load Wave File:\"")},
        {"cmdSave", nullptr, 0, 2, traced("filedialog save \"Save Wave File:\"")},
        {"cmdStart", nullptr, 0, 0, traced("line DTR on")},
        {"cmdStop", nullptr, 0, 2, feedback("Playback Stopped")},
        {"cmdErase", nullptr, 0, 2, traced("msgbox exclamation \"No Message Found\"")},
        {"cmdRecord", nullptr, 0, 2, traced("channel 2 record")},
        {"cmdXmit", nullptr, 0, 2, feedback("Manual PTT On")},
        {"chkMode", nullptr, 0, 0, check(Check::chkMode)},
        {"chkInterval", nullptr, 0, 0, check(Check::chkInterval)},
        {"File", &MainWindow::mnuFileItem, 0, 0, traced("filedialog open")},
        {"File", &MainWindow::mnuFileItem, 4, 0, traced("msgbox none \"Confirm Program Exit\"")},
        {"Options", &MainWindow::mnuOptionsItem, 0, 0,
         [](UiRig& r, auto&) {
             return r.keyer.state().frame.topmost &&
                    r.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
         }},
        {"Timing", &MainWindow::mnuOptionsTimingItem, 3, 0, check(Check::Timing2Min)},
        {"Help", &MainWindow::mnuHelpItem, 1, 0, traced("open-url")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.item));
        UiRig rig(two_messages);
        QTest::mouseClick(rig.window.optMessage(c.slot), Qt::LeftButton);
        ASSERT_EQ(rig.keyer.state().frame.active, c.slot);
        rig.sim.dialogs.queue_reply(MsgReply::No);
        rig.sim.take_log();
        if (c.menu) {
            (rig.window.*c.menu)(c.item)->trigger();
        } else {
            QTest::mouseClick(rig.window.findChild<QWidget*>(c.name), Qt::LeftButton);
        }
        rig.advance(10);
        const std::string log = rig.sim.take_log();
        EXPECT_TRUE(c.reached(rig, log)) << log;
        expect_checks_match_state(rig);
    }
}

TEST(MainWindowView, ShortcutsWorkWhicheverControlHasTheFocus) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int active;  // the active slot afterwards
        bool start;  // Start ran: a run, or "No filename assigned" for the empty slot 3
    };
    const std::vector<Case> cases = {
        {Qt::Key_F2, Qt::NoModifier, 1, true},
        {Qt::Key_Plus, Qt::KeypadModifier, 2, true},
        {Qt::Key_Plus, Qt::NoModifier, 2, false},
    };
    for (const auto& c : cases) {
        for (bool in_name_box : {true, false}) {
            SCOPED_TRACE(std::to_string(c.key) + (in_name_box ? " in the name box" : ""));
            UiRig rig(two_messages);
            QTest::mouseClick(rig.window.optMessage(2), Qt::LeftButton);
            QWidget* focus = in_name_box ? static_cast<QWidget*>(rig.window.txtMessage(2))
                                         : rig.window.txtPAM(4);
            focus->setFocus();
            QApplication::processEvents();
            ASSERT_EQ(QApplication::focusWidget(), focus);
            QTest::keyClick(focus, c.key, c.modifiers);
            rig.advance(10);
            EXPECT_EQ(rig.keyer.state().frame.active, c.active);
            EXPECT_EQ(
                rig.keyer.fields().Playing ||
                    rig.keyer.state().panels[int(Panel::pnlFeedback)] == "No filename assigned",
                c.start);
        }
    }
}

TEST(MainWindowView, NameBoxesSwallowTypingAndDropTheirSelection) {
    UiRig rig(two_messages);
    NameBox* box = rig.window.txtMessage(0);
    box->setFocus();
    QTest::keyClicks(box, "xyz");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "one.wav");

    double_click(box, QPoint(10, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
    box->selectAll();
    ASSERT_TRUE(box->hasSelectedText());
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
}

TEST(MainWindowView, DelayAndLoopBoxesGoIntoTheState) {
    UiRig rig(two_messages);
    QLineEdit* delay = rig.window.txtPAM(3);
    delay->setFocus();
    delay->selectAll();
    EXPECT_EQ(delay->text(), "0.0") << "a box being edited shows the bare seconds";
    QTest::keyClicks(delay, "2.5");
    EXPECT_EQ(rig.keyer.state().slots[3].delay, "25") << "seconds typed, tenths kept";
    rig.window.txtPAM(4)->setFocus();
    EXPECT_EQ(delay->text(), "2.5 s");

    // A click turns a three-state loop box to on from off, and to off from on or greyed.
    const int after[] = {1, 0, 0};
    for (int before = 0; before < 3; ++before) {
        rig.keyer.chkLoop_Change(4, before);
        QTest::mouseClick(rig.window.chkLoop(4), Qt::LeftButton);
        EXPECT_EQ(rig.keyer.state().slots[4].loop, after[before]) << before;
    }
}

TEST(MainWindowView, StatusBarClicksDriveTheIdReminder) {
    UiRig rig(two_messages);
    QTest::mouseClick(rig.window.StatusBar1()->label(Panel::pnlTime), Qt::LeftButton);
    EXPECT_TRUE(rig.keyer.fields().IDDueTime.has_value());
    double_click(rig.window.StatusBar1()->label(Panel::pnlFeedback));
    EXPECT_FALSE(rig.keyer.fields().IDDueTime.has_value());

    // On the bar's own background, outside every panel, a click counts too.
    QTest::mouseClick(rig.window.StatusBar1(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_TRUE(rig.keyer.fields().IDDueTime.has_value());
}

TEST(MainWindowView, CloseBoxEndsOnYes) {
    UiRig rig(two_messages);
    bool ended = false;
    QObject::connect(&rig.window, &MainWindow::ended, [&] { ended = true; });
    rig.sim.dialogs.queue_reply(MsgReply::Yes);
    rig.window.close();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(rig.window.isVisible());
}

}  // namespace
}  // namespace parlomat::test
