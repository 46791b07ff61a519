#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/preferences_dialog.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

/// Opens File > Preferences and runs `act` on the open dialog; `act` must close it.
void with_preferences(UiRig& rig, const std::function<void(PreferencesDialog&)>& act) {
    bool ran = false;
    rig.on_next_modal([&](QDialog& dialog) {
        ran = true;
        act(static_cast<PreferencesDialog&>(dialog));
    });
    rig.window.mnuFileItem(2)->trigger();
    ASSERT_TRUE(ran);
}

void retype(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

TEST(PreferencesDialogView, ShowsTheFormAndSavesWhatIsTyped) {
    UiRig rig(two_messages);
    rig.window.on_preferences_open([](PreferencesForm& form) {
        form.set_items(PrefControl::cmbRigModel,
                       {"None", "Hamlib Dummy (1)", "Yaesu FT-991A (1035)"});
        form.set_rig_tester(
            [](const RigSettings& r, auto done) { done("model " + std::to_string(r.Model)); });
    });
    with_preferences(rig, [&](PreferencesDialog& d) {
        // The filter narrows the model list, "None" staying first.
        QTest::keyClicks(d.txtRigFilter(), "yae");
        ASSERT_EQ(d.combo(PrefControl::cmbRigModel)->count(), 2);
        EXPECT_EQ(d.combo(PrefControl::cmbRigModel)->itemText(0), "None");
        d.combo(PrefControl::cmbRigModel)->setCurrentIndex(1);
        QTest::mouseClick(d.cmdRigTest(), Qt::LeftButton);
        EXPECT_EQ(d.label(PrefControl::lblRigTest)->text(), "model 1035");
        retype(d.line_edit(PrefControl::txtPTTDelay), "250");
        retype(d.combo(PrefControl::cmbPort)->lineEdit(), "3");  // the port's device follows
        EXPECT_EQ(d.combo(PrefControl::cmbPortDevice)->currentText(), "/dev/ttyS2");
        QTest::mouseClick(d.cmdSave(), Qt::LeftButton);
    });
    EXPECT_EQ(rig.keyer.fields().prefs.PTTDelay, 250);
    EXPECT_EQ(rig.keyer.fields().prefs.CommPort, 3);
}

// While the dialog is up the main window takes no keys or clicks, but its clock runs on.
TEST(PreferencesDialogView, ModalDialogBlocksTheMainWindowAndARefusedSaveKeepsItOpen) {
    UiRig rig(two_messages);
    with_preferences(rig, [&](PreferencesDialog& d) {
        const std::string clock = rig.keyer.state().panels[int(Panel::pnlTime)];
        QTest::keyClick(&d, Qt::Key_F1);
        QTest::mouseClick(rig.window.button(Button::cmdStart), Qt::LeftButton);
        rig.advance(2000);
        EXPECT_FALSE(rig.keyer.fields().PTTKeyed);
        EXPECT_NE(rig.keyer.state().panels[int(Panel::pnlTime)], clock);

        retype(d.combo(PrefControl::cmbPort)->lineEdit(), "abc");
        QTest::mouseClick(d.cmdSave(), Qt::LeftButton);
        EXPECT_NE(rig.sim.take_log().find("msgbox critical \"Invalid Comm Port\""),
                  std::string::npos);
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(rig.keyer.state().windows[int(Window::frmPreferences)]);
    EXPECT_FALSE(rig.keyer.modal_open());
}

}  // namespace
}  // namespace parlomat::test
