#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>
#include <iterator>

#include "ui/preferences_dialog.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

void retype(QWidget* field, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        field = combo->lineEdit();
    }
    auto* edit = static_cast<QLineEdit*>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

TEST(PreferencesDialogView, ShowsTheFormAndSavesWhatIsTyped) {
    UiRig rig(two_messages);
    rig.window.on_preferences_open([](PreferencesForm& form) {
        form.set_items(PrefControl::cmbRigModel,
                       {"None", "Hamlib Dummy (1)", "Yaesu FT-991A (1035)"});
        form.set_rig_tester([](const RigSettings& rig, auto done) {
            done("OK: model " + std::to_string(rig.Model) + ", PTT reads off");
        });
    });
    with_preferences(rig, [&](PreferencesDialog& d) {
        EXPECT_TRUE(rig.keyer.state().windows[int(Window::frmPreferences)]);
        // The filter narrows the model list; "None" stays first.
        QTest::keyClicks(d.txtRigFilter(), "yae");
        ASSERT_EQ(d.combo(PrefControl::cmbRigModel)->count(), 2);
        EXPECT_EQ(d.combo(PrefControl::cmbRigModel)->itemText(0), "None");
        d.combo(PrefControl::cmbRigModel)->setCurrentIndex(1);
        EXPECT_EQ(rig.keyer.preferences_form()->text(PrefControl::cmbRigModel),
                  "Yaesu FT-991A (1035)");
        QTest::mouseClick(d.cmdRigTest(), Qt::LeftButton);
        EXPECT_EQ(d.label(PrefControl::lblRigTest)->text(), "OK: model 1035, PTT reads off");
        retype(d.line_edit(PrefControl::txtPTTDelay), "250");
        d.combo(PrefControl::cmbINT)->setCurrentIndex(1);
        // The form's own changes reach the widgets: a new port shows its device.
        retype(d.combo(PrefControl::cmbPort), "3");
        EXPECT_EQ(d.combo(PrefControl::cmbPortDevice)->currentText(), "/dev/ttyS2");
        QTest::mouseClick(d.cmdSave(), Qt::LeftButton);
    });
    EXPECT_FALSE(rig.keyer.state().windows[int(Window::frmPreferences)]);
    EXPECT_EQ(rig.keyer.fields().prefs.PTTInt, "DSR");
    EXPECT_EQ(rig.keyer.fields().prefs.CommPort, 3);
    const std::string ini = read_file(rig.file("parlomat.ini"));
    EXPECT_NE(ini.find("PTT Delay=250"), std::string::npos);
    EXPECT_NE(ini.find("Model=1035"), std::string::npos);
}

TEST(PreferencesDialogView, ARefusedSaveKeepsTheDialogOpen) {
    UiRig rig(two_messages);
    with_preferences(rig, [&](PreferencesDialog& d) {
        retype(d.combo(PrefControl::cmbPort), "abc");
        retype(d.line_edit(PrefControl::txtPTTDelay), "777");
        rig.take_log();
        QTest::mouseClick(d.cmdSave(), Qt::LeftButton);
        EXPECT_NE(rig.take_log().find("msgbox critical \"Invalid Comm Port\""), std::string::npos);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.combo(PrefControl::cmbPort)->currentText(), "abc");
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_FALSE(rig.keyer.state().windows[int(Window::frmPreferences)]);
    EXPECT_EQ(rig.keyer.fields().prefs.PTTDelay, 100);
    EXPECT_FALSE(rig.keyer.modal_open());
}

TEST(PreferencesDialogView, ModalDialogBlocksTheMainWindowWhileTimersRun) {
    UiRig rig(two_messages);
    with_preferences(rig, [&](PreferencesDialog& d) {
        const std::string clock = rig.keyer.state().panels[int(Panel::pnlTime)];
        QTest::keyClick(&d, Qt::Key_F1);
        QTest::mouseClick(rig.window.button(Button::cmdStart), Qt::LeftButton);
        rig.advance(2000);
        EXPECT_FALSE(rig.keyer.fields().Playing);
        EXPECT_FALSE(rig.keyer.fields().PTTKeyed);
        EXPECT_NE(rig.keyer.state().panels[int(Panel::pnlTime)], clock);
        QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
    });
}

}  // namespace
}  // namespace parlomat::test
