#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>

#include "sim/sim_station.h"
#include "ui/main_window.h"

namespace parlomat::test {

inline std::unique_ptr<QApplication> g_app;

/// The one QApplication of a widget test program, made on first use.
inline QApplication& ui_app() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    return g_app ? *g_app : *(g_app = std::make_unique<QApplication>(argc, argv));
}

/// Ends the QApplication while the platform plugin can still tear down cleanly.
struct AppEnvironment : ::testing::Environment {
    void TearDown() override { g_app.reset(); }
};
inline const bool kAppEnvironmentAdded =
    (::testing::AddGlobalTestEnvironment(new AppEnvironment), true);

/// A real MainWindow over the keyer core on simulated devices in virtual time, from 2026-01-01
/// 12:00 local. Construction writes the station's files through `prepare`, then starts the
/// program up to its main window, or with `start` false leaves it before its start-up window.
struct UiRig {
    explicit UiRig(const std::function<void(UiRig&)>& prepare, bool start = true) {
        window.bind(keyer, splash);
        prepare(*this);
        if (start) {
            sim.start();
            advance(20);
            window.activateWindow();
            QApplication::processEvents();
        }
    }

    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::trunc) << text;
    }
    void wave(const std::string& name, int ms) const { SimChannels::WriteSilence(file(name), ms); }

    void advance(int ms) {
        sim.scheduler.advance(Ms{ms});
        QApplication::processEvents();
    }

    /// Runs `act` on the next modal window once its event loop runs; `act` must close it.
    void on_next_modal(std::function<void(QDialog&)> act) {
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(
            &window, &MainWindow::modal_opened, &window, [connection, act](QDialog* dialog) {
                QObject::disconnect(*connection);
                QTimer::singleShot(0, dialog, [dialog, act] { act(*dialog); });
            });
    }

    QApplication& app = ui_app();
    QTemporaryDir temp;
    std::string dir = temp.path().toStdString();
    SimStation sim{
        dir, std::chrono::local_days{std::chrono::year{2026} / 1 / 1} + std::chrono::hours{12}};
    MainWindow window;
    Station& station = sim.assemble({.view = &window, .preferences_view = &window});
    Keyer& keyer = station.keyer;
    Splash& splash = station.splash;
};

/// A double click as the desktop delivers it: press, release, press, double click, release.
inline void double_click(QWidget* widget, QPoint pos = {}) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

/// A station with messages in slots 1 and 2 (1.5 s and 0.8 s), slot 2 looping with a delay.
inline void two_messages(UiRig& rig) {
    rig.wave("one.wav", 1500);
    rig.wave("two.wav", 800);
    rig.write("parlomat.ini",
              "[Preference]\nPTT Delay=100\n[MSG Config]\nMSG1=one.wav\nDelay1=0\nLoop1=False\n"
              "MSG2=two.wav\nDelay2=20\nLoop2=True\n");
}

}  // namespace parlomat::test
