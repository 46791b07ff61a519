// Screenshots of every window, written as PNG files for a person to look at. Runs on a real X
// server (Xvfb); PARLOMAT_SCREENSHOT_DIR names the directory, PARLOMAT_SCREENSHOT_SUFFIX is added
// to each file name (e.g. "-150" for a run at QT_SCALE_FACTOR=1.5).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include "ui/about_dialog.h"
#include "ui/level_meter_widget.h"
#include "ui/name_box.h"
#include "ui/on_air_lamp_widget.h"
#include "ui/preferences_dialog.h"
#include "ui/splash_window.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

QString shot_dir() {
    const QString dir = qEnvironmentVariable("PARLOMAT_SCREENSHOT_DIR", "screenshots");
    QDir().mkpath(dir);
    return dir;
}

/// Grabs `widget`, checks that it drew something, and writes NAME.png.
void shoot(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 8) << name.toStdString() << " looks blank";
    const QString path =
        shot_dir() + "/" + name + qEnvironmentVariable("PARLOMAT_SCREENSHOT_SUFFIX") + ".png";
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}

/// Every widget of `window` that is meant to be seen lies inside it, uncut.
void expect_fits(QWidget& window) {
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisible() || child->isWindow() || !child->parentWidget()->isVisible()) {
            continue;
        }
        const QRect inside(child->mapTo(&window, QPoint(0, 0)), child->size());
        EXPECT_TRUE(window.rect().contains(inside))
            << child->objectName().toStdString() << " lies outside its window";
    }
}

void four_messages(UiRig& rig) {
    two_messages(rig);
    rig.wave("CQ_contest_long.wav", 30000);
    rig.wave("my_call.wav", 2000);
    rig.wave("cq_contest.wav", 4000);
    rig.write("parlomat.ini",
              "[Preference]\nPTT Delay=100\n[MSG Config]\nMSG1=cq_contest.wav\nDelay1=20\n"
              "Loop1=True\nMSG2=one.wav\nDelay2=0\nLoop2=False\nMSG3=two.wav\nDelay3=0\n"
              "Loop3=False\nMSG4=my_call.wav\nDelay4=15\nLoop4=True\nMSG5=\nDelay5=0\n"
              "Loop5=False\nMSG6=CQ_contest_long.wav\nDelay6=300\nLoop6=True\n");
}

TEST(Screenshots, MainWindowIdleAndDuringARun) {
    UiRig rig(four_messages);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.window));
    // The window takes its layout's size and fits on the screen at any scale.
    EXPECT_TRUE(rig.window.screen()->availableGeometry().contains(rig.window.frameGeometry()));
    expect_fits(rig.window);
    rig.window.refresh_live();
    shoot(rig.window, "main-idle");

    QTest::mouseClick(rig.window.optMessage(5), Qt::LeftButton);
    QTest::mouseClick(rig.window.button(Button::cmdStart), Qt::LeftButton);
    rig.advance(100 + 12000);
    ASSERT_GT(rig.keyer.state().frame.gauge, 0);
    rig.window.refresh_live();
    ASSERT_EQ(rig.window.lamp()->state().colour, LampColour::Red);
    shoot(rig.window, "main-on-air");
}

TEST(Screenshots, MainWindowRecordingAndSked) {
    for (const bool recording : {true, false}) {
        UiRig rig(four_messages);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.window));
        if (recording) {
            QTest::mouseClick(rig.window.optMessage(4), Qt::LeftButton);
            QTest::mouseClick(rig.window.button(Button::cmdRecord), Qt::LeftButton);
        } else {
            QTest::mouseClick(rig.window.chkMode(), Qt::LeftButton);
        }
        rig.advance(recording ? 3200 : 2000);
        rig.window.refresh_live();
        ASSERT_FALSE(recording ? rig.window.lblElapsed()->text().isEmpty()
                               : rig.window.lamp()->state().countdown.empty());
        shoot(rig.window, recording ? "main-recording" : "main-sked");
    }
}

TEST(Screenshots, PreferencesOnEveryTab) {
    UiRig rig(two_messages);
    rig.window.on_preferences_open([](PreferencesForm& form) {
        form.set_items(PrefControl::cmbAudioOut, {"", "Built-in Audio Analog Stereo"});
        form.set_items(PrefControl::cmbAudioIn, {"", "Built-in Audio Analog Stereo"});
        form.set_items(PrefControl::cmbPortDevice,
                       {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"});
    });
    bool shown = false;
    rig.on_next_modal([&](QDialog& dialog) {
        auto& d = static_cast<PreferencesDialog&>(dialog);
        const std::array<const char*, 4> names = {"comm", "misc", "recorder", "audio"};
        for (int tab = 0; tab < 4; ++tab) {
            d.sstTab()->setCurrentIndex(tab);
            expect_fits(d);
            shoot(d, QString("preferences-") + names[tab]);
        }
        shown = true;
        QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
    });
    rig.window.mnuFileItem(2)->trigger();
    EXPECT_TRUE(shown);
}

TEST(Screenshots, StartUpAboutAndKeyboardHelp) {
    UiRig rig(two_messages);
    SplashWindow splash(rig.splash);
    splash.show_centred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    expect_fits(splash);
    shoot(splash, "splash");
    for (int item : {2, 0}) {
        bool shown = false;
        rig.on_next_modal([&](QDialog& dialog) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            expect_fits(dialog);
            shoot(dialog, item == 2 ? "about" : "keyboard-help");
            shown = true;
            dialog.accept();
        });
        rig.window.mnuHelpItem(item)->trigger();
        EXPECT_TRUE(shown);
    }
}

}  // namespace
}  // namespace parlomat::test
