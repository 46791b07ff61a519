#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/settings/delay_text.h"
#include "ui/loop_box.h"
#include "ui/message_tools.h"
#include "ui/name_box.h"
#include "ui/status_panel_bar.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

/// Every widget shows what the core's window state says (a delay box being edited holds what
/// the operator typed, so only boxes without the focus are compared).
void expect_view_matches_state(UiRig& rig) {
    const WindowState& s = rig.keyer.state();
    MainWindow& w = rig.window;
    for (int i = 0; i < kSlotCount; ++i) {
        SCOPED_TRACE("slot " + std::to_string(i));
        EXPECT_EQ(w.txtMessage(i)->text().toStdString(), s.slots[i].name);
        if (!w.txtPAM(i)->hasFocus()) {
            EXPECT_EQ(w.txtPAM(i)->text().toStdString(), DelaySecondsText(s.slots[i].delay));
        }
        EXPECT_EQ(w.chkLoop(i)->value(), s.slots[i].loop);
        EXPECT_EQ(w.txtMessage(i)->font().bold(), s.slots[i].bold);
        EXPECT_EQ(w.txtMessage(i)->palette().color(QPalette::Base) == Qt::black,
                  s.slots[i].run_colours);
        EXPECT_EQ(w.optMessage(i)->isChecked(), s.frame.active == i);
    }
    for (int p = 0; p < kPanelCount; ++p) {
        EXPECT_EQ(w.StatusBar1()->text(Panel(p)).toStdString(), s.panels[p]) << kPanelNames[p];
    }
    for (int b = 0; b < kButtonCount; ++b) {
        EXPECT_EQ(w.button(Button(b))->isEnabled(), s.buttons[b]) << kButtonNames[b];
    }
    EXPECT_EQ(w.gauProgress()->value(), s.frame.gauge);
    EXPECT_EQ(w.windowTitle().toStdString(), s.frame.caption);
    for (int c = 0; c < kCheckCount; ++c) {
        const CheckPlace& place = kCheckPlaces[c];
        const bool shown = place.holder == CheckHolder::mnuOptionsItem
                               ? w.mnuOptionsItem(place.item)->isChecked()
                           : place.holder == CheckHolder::mnuOptionsTimingItem
                               ? w.mnuOptionsTimingItem(place.item)->isChecked()
                               : w.findChild<QCheckBox*>(place.name)->isChecked();
        EXPECT_EQ(shown, s.checks[c]) << place.name << " " << place.item;
    }
}

using Reached = std::function<bool(UiRig&, const std::string& log)>;

Reached traced(std::string line) {
    return [line](UiRig&, const std::string& log) { return log.find(line) != std::string::npos; };
}

Reached feedback(std::string text) {
    return [text](UiRig& rig, const std::string&) {
        return rig.keyer.state().panels[int(Panel::pnlFeedback)] == text;
    };
}

Reached check(Check which, bool on) {
    return [which, on](UiRig& rig, const std::string&) {
        return rig.keyer.state().checks[int(which)] == on;
    };
}

TEST(MainWindowView, ControlsReachTheirHandlers) {
    using Act = std::function<void(MainWindow&)>;
    const auto click = [](Button b) {
        return [b](MainWindow& w) { QTest::mouseClick(w.button(b), Qt::LeftButton); };
    };
    const auto widget = [](auto get) {
        return [get](MainWindow& w) { QTest::mouseClick(get(w), Qt::LeftButton); };
    };
    const auto item = [](auto get) { return [get](MainWindow& w) { get(w)->trigger(); }; };
    struct Case {
        const char* name;
        int slot;  // the active slot when the control is used
        Act act;
        Reached reached;
    };
    const std::vector<Case> cases = {
        {"cmdLoad", 2, click(Button::cmdLoad), traced("filedialog open \"Load Wave File:\"")},
        {"cmdSave", 2, click(Button::cmdSave), traced("filedialog save \"Save Wave File:\"")},
        {"cmdStart", 0, click(Button::cmdStart), traced("line DTR on")},
        {"cmdStop", 2, click(Button::cmdStop), feedback("Playback Stopped")},
        {"cmdErase", 2, click(Button::cmdErase), traced("msgbox exclamation \"No Message Found\"")},
        {"cmdRecord", 2, click(Button::cmdRecord), traced("channel 2 record")},
        {"cmdXmit", 2, click(Button::cmdXmit), feedback("Manual PTT On")},
        {"chkMode", 0, widget([](MainWindow& w) { return w.chkMode(); }),
         check(Check::chkMode, true)},
        {"chkInterval", 0, widget([](MainWindow& w) { return w.chkInterval(); }),
         check(Check::chkInterval, true)},
        {"File 0", 0, item([](MainWindow& w) { return w.mnuFileItem(0); }),
         traced("filedialog open")},
        {"File 1", 0, item([](MainWindow& w) { return w.mnuFileItem(1); }),
         traced("filedialog save")},
        {"File 4", 0, item([](MainWindow& w) { return w.mnuFileItem(4); }),
         traced("msgbox none \"Confirm Program Exit\"")},
        {"Options 0", 0, item([](MainWindow& w) { return w.mnuOptionsItem(0); }),
         [](UiRig& rig, const std::string&) {
             return rig.keyer.state().frame.topmost &&
                    rig.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
         }},
        {"Options 2", 0, item([](MainWindow& w) { return w.mnuOptionsItem(2); }),
         check(Check::PTTEnable, false)},
        {"Options 3", 0, item([](MainWindow& w) { return w.mnuOptionsItem(3); }),
         check(Check::IgnorePTTInt, true)},
        {"Timing 3", 0, item([](MainWindow& w) { return w.mnuOptionsTimingItem(3); }),
         check(Check::Timing2Min, true)},
        {"Mixer 1", 0, item([](MainWindow& w) { return w.mnuMixerItem(1); }),
         [](UiRig& rig, const std::string& log) {
             return log.find("launch") != std::string::npos ||
                    rig.keyer.state().panels[int(Panel::pnlFeedback)] == "No mixer program found";
         }},
        {"Help 1", 0, item([](MainWindow& w) { return w.mnuHelpItem(1); }), traced("open-url")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UiRig rig(two_messages);
        QTest::mouseClick(rig.window.optMessage(c.slot), Qt::LeftButton);
        ASSERT_EQ(rig.keyer.state().frame.active, c.slot);
        rig.sim.dialogs.queue_reply(MsgReply::No);
        rig.take_log();
        c.act(rig.window);
        rig.advance(10);
        const std::string log = rig.take_log();
        EXPECT_TRUE(c.reached(rig, log)) << log;
        EXPECT_TRUE(rig.window.isVisible());
        expect_view_matches_state(rig);
    }
}

TEST(MainWindowView, HelpWindowsAreModalAndClose) {
    for (int item : {0, 2}) {
        SCOPED_TRACE(item);
        UiRig rig(two_messages);
        const Window expected = item == 0 ? Window::frmAboutKeys : Window::frmAbout;
        bool open_while_shown = false;
        rig.on_next_modal([&](QDialog& dialog) {
            open_while_shown = rig.keyer.state().windows[int(expected)] && dialog.isVisible() &&
                               rig.keyer.modal_open();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        rig.window.mnuHelpItem(item)->trigger();
        EXPECT_TRUE(open_while_shown);
        EXPECT_FALSE(rig.keyer.state().windows[int(expected)]);
        EXPECT_EQ(rig.window.modal_dialog(), nullptr);
    }
}

// Keys reach the keyer from a focused name or delay box; the name box keeps its text.
TEST(MainWindowView, ShortcutsWorkWhicheverControlHasTheFocus) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int active;  // the active slot afterwards
        bool start;  // Start ran: a run, or "No filename assigned" for the empty slot 3
    };
    const std::vector<Case> cases = {
        {Qt::Key_F2, Qt::NoModifier, 1, true},
        {Qt::Key_F1, Qt::ControlModifier, 0, true},
        {Qt::Key_Plus, Qt::KeypadModifier, 2, true},
        {Qt::Key_Plus, Qt::NoModifier, 2, false},
    };
    for (const auto& c : cases) {
        for (bool in_name_box : {true, false}) {
            SCOPED_TRACE(QTest::toString(QKeySequence(c.key | c.modifiers)));
            SCOPED_TRACE(in_name_box ? "name box" : "delay box");
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
            EXPECT_EQ(rig.window.txtMessage(2)->text(), "");
            EXPECT_EQ(rig.window.txtMessage(1)->text(), "two.wav");
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
    EXPECT_EQ(rig.keyer.state().slots[0].name, "one.wav");

    double_click(box, QPoint(10, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
    box->selectAll();
    ASSERT_TRUE(box->hasSelectedText());
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, box->height() / 2));
    EXPECT_FALSE(box->hasSelectedText());
}

TEST(MainWindowView, ANameWhoseFileDoesNotPlayIsGreyedWithItsReason) {
    UiRig rig([](UiRig& r) {
        r.write("cq.wav", "not a wave\n");
        r.write("parlomat.ini", "[MSG Config]\nMSG2=cq.wav\n");
    });
    EXPECT_EQ(rig.window.txtMessage(1)->toolTip(), "Not loaded: not a sound file");
    EXPECT_EQ(rig.window.txtMessage(1)->palette().color(QPalette::Text), QColor(Qt::gray));
}

TEST(MainWindowView, DelayLoopAndLabelBoxesGoIntoTheState) {
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
        EXPECT_EQ(rig.window.chkLoop(4)->value(), after[before]) << before;
    }
    QTest::keyClicks(rig.window.txtLabel(1), "73");
    EXPECT_EQ(rig.keyer.state().slots[1].label, "73");
}

TEST(MainWindowView, MessageToolsForwardClicksAndFollowTheCore) {
    UiRig rig([](UiRig& r) {
        SimChannels::WriteSound(r.file("cq.wav"), 3000, 1000, 2000);
        r.write("parlomat.ini", "[MSG Config]\nMSG1=cq.wav\n");
    });
    const MessageTools& tools = *rig.window.tools();
    rig.window.refresh_live();
    EXPECT_FALSE(tools.cmdUndo()->isEnabled());
    QTest::mouseClick(tools.cmdTrim(), Qt::LeftButton);
    EXPECT_TRUE(tools.cmdUndo()->isEnabled());
    QTest::mouseClick(tools.cmdListen(), Qt::LeftButton);
    rig.window.refresh_live();
    EXPECT_EQ(rig.window.StatusBar1()->text(Panel::pnlFeedback), "Listening");
    EXPECT_FALSE(tools.cmdNormalize()->isEnabled()) << "no edit while the message sounds";
    EXPECT_FALSE(tools.cmdUndo()->isEnabled());
    EXPECT_FALSE(rig.keyer.fields().PTTKeyed);
    rig.advance(1300);
    rig.window.refresh_live();
    QTest::mouseClick(tools.cmdUndo(), Qt::LeftButton);
    QTest::mouseClick(tools.cmdNormalize(), Qt::LeftButton);
    EXPECT_EQ(rig.keyer.SlotLengthText(0), "0:03.0");
    EXPECT_EQ(rig.window.StatusBar1()->text(Panel::pnlFeedback), "Normalized");
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
    EXPECT_TRUE(rig.keyer.state().ended);
}

}  // namespace
}  // namespace parlomat::test
