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
#include <string>

#include "sim/sim_station.h"
#include "ui/main_window.h"

namespace parlomat::test {

inline std::unique_ptr<QApplication>& app_holder() {
    static std::unique_ptr<QApplication> app;
    return app;
}

/// The one QApplication of a widget test program, made on first use.
inline QApplication& ui_app() {
    auto& app = app_holder();
    if (!app) {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    return *app;
}

/// Ends the QApplication while the platform plugin can still tear down cleanly.
class AppEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { app_holder().reset(); }
};
inline const bool kAppEnvironmentAdded =
    (::testing::AddGlobalTestEnvironment(new AppEnvironment), true);

/// 2026-01-01 12:00:00 local.
inline LocalTime noon() {
    using namespace std::chrono;
    return local_days{year{2026} / January / 1} + hours{12};
}

/// A real MainWindow over the keyer core on simulated devices in virtual time. Construction
/// writes the station's files through `prepare`, then starts the program up to its main window.
class UiRig {
  public:
    /// With `start` false the program is left before its start-up window.
    explicit UiRig(const std::function<void(UiRig&)>& prepare = {}, bool start = true)
        : app_(ui_app()),
          sim(temp_.path().toStdString(), noon()),
          station(sim.assemble({.view = &window, .preferences_view = &window})),
          keyer(station.keyer),
          splash(station.splash) {
        window.bind(keyer, splash);
        if (prepare) {
            prepare(*this);
        }
        if (!start) {
            return;
        }
        sim.start();
        advance(20);
        window.activateWindow();
        QApplication::processEvents();
    }

    std::string dir() const { return temp_.path().toStdString(); }
    std::string file(const std::string& name) const { return dir() + "/" + name; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::trunc) << text;
    }
    /// A silent wave file of `ms` milliseconds.
    void wave(const std::string& name, int ms) const { SimChannels::WriteSilence(file(name), ms); }

    /// Lets virtual time pass, then lets Qt paint.
    void advance(int ms) {
        sim.scheduler.advance(Ms{ms});
        QApplication::processEvents();
    }

    /// The trace written since the last call.
    std::string take_log() { return sim.take_log(); }

    /// Runs `act` on the next modal window once its event loop runs; `act` must close it.
    void on_next_modal(std::function<void(QDialog&)> act) {
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(
            &window, &MainWindow::modal_opened, &window, [connection, act](QDialog* dialog) {
                QObject::disconnect(*connection);
                QTimer::singleShot(0, dialog, [dialog, act] { act(*dialog); });
            });
    }

  private:
    QApplication& app_;
    QTemporaryDir temp_;

  public:
    SimStation sim;
    MainWindow window;
    Station& station;
    Keyer& keyer;
    Splash& splash;
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
              "MSG2=two.wav\nDelay2=20\nLoop2=True\nMSG3=\nDelay3=0\nLoop3=False\n");
}

}  // namespace parlomat::test
