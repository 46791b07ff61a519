#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/keyer/keyer.h"
#include "core/keyer/splash.h"
#include "core/settings/delay_text.h"
#include "ui/about_dialog.h"
#include "ui/about_keys_dialog.h"
#include "ui/app_icon.h"
#include "ui/key_codes.h"
#include "ui/level_meter_widget.h"
#include "ui/loop_box.h"
#include "ui/message_tools.h"
#include "ui/name_box.h"
#include "ui/on_air_lamp_widget.h"
#include "ui/preferences_dialog.h"
#include "ui/qt_text.h"
#include "ui/screen_placement.h"
#include "ui/splash_window.h"
#include "ui/status_panel_bar.h"

namespace parlomat {

namespace {

const char* const kGeometryKey = "MainWindow/geometry";

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMainScreen");
    setWindowIcon(app_icon());
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 4);
    outer->setSpacing(6);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    auto* frame = new QGroupBox("Select", central);
    frame->setObjectName("frmMessage");
    frame->setToolTip("Select the active message");
    build_slots(frame);
    top->addWidget(frame, 1);

    build_buttons();
    auto* button_column = new QVBoxLayout;
    button_column->setSpacing(3);
    button_column->addSpacing(8);
    for (auto* b : buttons_) {
        b->setParent(central);
        button_column->addWidget(b);
    }
    button_column->addStretch(1);
    top->addLayout(button_column);
    outer->addLayout(top, 1);
    tools_ = new MessageTools(central);
    outer->addWidget(tools_);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(12);
    chkMode_ = new QCheckBox("Sked Timing", central);
    chkMode_->setObjectName("chkMode");
    chkMode_->setToolTip("Selects scheduled timing mode");
    chkInterval_ = new QCheckBox("Xmit 1/3 - EME East", central);
    chkInterval_->setObjectName("chkInterval");
    chkInterval_->setToolTip("Selects 1st,3rd, etc.  segments for xmit");
    gauProgress_ = new QProgressBar(central);
    gauProgress_->setObjectName("gauProgress");
    gauProgress_->setRange(0, 100);
    gauProgress_->setValue(0);
    gauProgress_->setTextVisible(false);
    gauProgress_->setMaximumHeight(18);
    meter_ = new LevelMeterWidget(central);
    lblElapsed_ = new QLabel(central);
    lblElapsed_->setObjectName("lblElapsed");
    lblElapsed_->setToolTip("Time recorded so far");
    lblElapsed_->setMinimumWidth(lblElapsed_->fontMetrics().horizontalAdvance("00:00.0"));
    auto* progress_column = new QVBoxLayout;
    progress_column->setSpacing(2);
    progress_column->addWidget(gauProgress_);
    auto* meter_row = new QHBoxLayout;
    meter_row->addWidget(meter_, 1);
    meter_row->addWidget(lblElapsed_);
    progress_column->addLayout(meter_row);
    lamp_ = new OnAirLampWidget(central);
    bottom->addWidget(chkMode_);
    bottom->addWidget(chkInterval_);
    bottom->addLayout(progress_column, 1);
    bottom->addWidget(lamp_);
    outer->addLayout(bottom);
    setCentralWidget(central);

    StatusBar1_ = new StatusPanelBar(this);
    StatusBar1_->setObjectName("StatusBar1");
    setStatusBar(StatusBar1_);

    build_menus();

    connect(chkMode_, &QCheckBox::clicked, this, [this](bool on) {
        if (keyer_) {
            keyer_->chkMode_Click(on ? 1 : 0);
        }
        render_checks();
    });
    connect(chkInterval_, &QCheckBox::clicked, this, [this](bool on) {
        if (keyer_) {
            keyer_->chkInterval_Click(on ? 1 : 0);
        }
        render_checks();
    });
    connect(StatusBar1_, &StatusPanelBar::clicked, this, [this] {
        if (keyer_) {
            keyer_->StatusBar1_PanelClick();
        }
    });
    connect(StatusBar1_, &StatusPanelBar::doubleClicked, this, [this] {
        if (keyer_) {
            keyer_->StatusBar1_PanelDblClick();
        }
    });
    live_ = new QTimer(this);
    live_->setInterval(kLiveRefreshMs);
    connect(live_, &QTimer::timeout, this, [this] {
        read_moving();
        pace();
    });
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    if (cursor_overridden_) {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::bind(Keyer& keyer, Splash& splash) {
    keyer_ = &keyer;
    splash_ = &splash;
    tools_->bind(keyer);
    render();
    refresh_live();
    pace();
}

void MainWindow::render() {
    if (!keyer_) {
        return;
    }
    const WindowState& s = keyer_->state();
    for (int i = 0; i < kSlotCount; ++i) {
        for (int f = 0; f < kSlotFieldCount; ++f) {
            slot_changed(i, static_cast<SlotField>(f), s.slots[i]);
        }
    }
    for (int p = 0; p < kPanelCount; ++p) {
        panel_changed(static_cast<Panel>(p), s.panels[p]);
    }
    for (int b = 0; b < kButtonCount; ++b) {
        button_changed(static_cast<Button>(b), s.buttons[b]);
    }
    render_checks();
    for (int f = 0; f < kFrameFieldCount; ++f) {
        const auto field = static_cast<FrameField>(f);
        if (field != FrameField::topmost ||
            s.frame.topmost != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            frame_changed(field, s.frame);
        }
    }
}

void MainWindow::render_checks() {
    if (!keyer_) {
        return;
    }
    for (int c = 0; c < kCheckCount; ++c) {
        check_changed(static_cast<Check>(c), keyer_->state().checks[c]);
    }
}

void MainWindow::panel_changed(Panel panel, const std::string& text) {
    follow(false);
    StatusBar1_->set_text(panel, q(text));
}

void MainWindow::button_changed(Button which, bool enabled) {
    follow(false);
    button(which)->setEnabled(enabled);
}

void MainWindow::frame_changed(FrameField field, const FrameLook& frame) {
    switch (field) {
        case FrameField::active:
            if (frame.active >= 0 && frame.active < kSlotCount) {
                optMessage_[frame.active]->setChecked(true);
            }
            break;
        case FrameField::gauge:
            gauProgress_->setValue(frame.gauge);
            break;
        case FrameField::caption:
            setWindowTitle(q(frame.caption));
            break;
        case FrameField::topmost: {
            const bool visible = isVisible();
            setWindowFlag(Qt::WindowStaysOnTopHint, frame.topmost);
            if (visible) {
                show();
            }
            break;
        }
        case FrameField::hourglass:
            follow(true);
            if (frame.hourglass && !cursor_overridden_) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                cursor_overridden_ = true;
            } else if (!frame.hourglass && cursor_overridden_) {
                QApplication::restoreOverrideCursor();
                cursor_overridden_ = false;
            }
            break;
    }
}

void MainWindow::check_changed(Check check, bool on) {
    const CheckPlace& place = kCheckPlaces[static_cast<int>(check)];
    switch (place.holder) {
        case CheckHolder::mnuOptionsItem:
            mnuOptionsItem_[place.item]->setChecked(on);
            break;
        case CheckHolder::mnuOptionsTimingItem:
            mnuOptionsTimingItem_[place.item]->setChecked(on);
            break;
        case CheckHolder::checkBox:
            (check == Check::chkMode ? chkMode_ : chkInterval_)->setChecked(on);
            break;
    }
}

void MainWindow::window_changed(Window window, bool shown) {
    follow(true);
    switch (window) {
        case Window::frmSplash:
            if (shown) {
                if (!splash_window_ && splash_) {
                    splash_window_ = new SplashWindow(*splash_);
                }
                if (splash_window_) {
                    splash_window_->show_centred();
                }
            } else if (splash_window_) {
                splash_window_->close();
                splash_window_->deleteLater();
                splash_window_ = nullptr;
            }
            break;
        case Window::frmMainScreen:
            if (shown) {
                show_centred();
                Q_EMIT main_shown();
            } else {
                hide();
            }
            break;
        case Window::frmPreferences:
        case Window::frmAbout:
        case Window::frmAboutKeys:
            if (!shown && modal_) {
                modal_->done(QDialog::Accepted);
            }
            break;
    }
}

void MainWindow::show_centred() {
    ensurePolished();
    // The size and place of the last run; the layout's own size, centred, the first time.
    const QString file = geometry_file();
    if (file.isEmpty() ||
        !restoreGeometry(QSettings(file, QSettings::IniFormat).value(kGeometryKey).toByteArray())) {
        resize(sizeHint().expandedTo(minimumSizeHint()));
        CentreOnScreen(*this);
    }
    show();
    raise();
    activateWindow();
}

QString MainWindow::geometry_file() const {
    const QString ini = keyer_ ? q(keyer_->fields().IniPath) : QString();
    if (ini.isEmpty()) {
        return {};
    }
    return QFileInfo(ini).dir().filePath("parlomat-window.ini");
}

void MainWindow::save_geometry() {
    const QString file = geometry_file();
    if (file.isEmpty() || !isVisible()) {
        return;
    }
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(kGeometryKey, saveGeometry());
}

void MainWindow::run_modal(QDialog& dialog) {
    QDialog* outer = modal_;
    modal_ = &dialog;
    Q_EMIT modal_opened(&dialog);
    dialog.exec();
    modal_ = outer;
}

void MainWindow::show_modal(Window window) {
    if (!keyer_) {
        return;
    }
    switch (window) {
        case Window::frmPreferences: {
            PreferencesForm* form = keyer_->preferences_form();
            if (!form || !form->is_open()) {
                return;
            }
            if (preferences_hook_) {
                preferences_hook_(*form);
            }
            PreferencesDialog dialog([keyer = keyer_] { return keyer->preferences_form(); }, this);
            preferences_dialog_ = &dialog;
            run_modal(dialog);
            preferences_dialog_ = nullptr;
            break;
        }
        case Window::frmAbout: {
            AboutDialog dialog([keyer = keyer_] { keyer->StartSysInfo(); }, this);
            run_modal(dialog);
            break;
        }
        case Window::frmAboutKeys: {
            AboutKeysDialog dialog(this);
            run_modal(dialog);
            break;
        }
        case Window::frmSplash:
        case Window::frmMainScreen:
            break;
    }
}

void MainWindow::bring_to_front() {
    QWidget* target =
        splash_window_ ? static_cast<QWidget*>(splash_window_) : static_cast<QWidget*>(this);
    if (modal_) {
        target = modal_;
    }
    if (!target->isVisible()) {
        return;
    }
    target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
    target->raise();
    target->activateWindow();
}

void MainWindow::program_ended() {
    ended_ = true;
    save_geometry();
    live_->stop();
    hide();
    Q_EMIT ended();
}

void MainWindow::control_changed(PrefControl control, const std::string& text) {
    if (preferences_dialog_) {
        preferences_dialog_->control_changed(control, text);
    }
}

bool MainWindow::is_key_preview_target(QObject* watched) const {
    // A key goes first to the focus widget (or the window when nothing has the focus), then up
    // its parents; the main window sees it once, at that first receiver.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isActiveWindow()) {
        return false;
    }
    QWidget* first = QApplication::focusWidget();
    return widget == (first ? first : this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (keyer_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // A delay box shows its unit until the operator edits it.
        for (int i = 0; i < kSlotCount; ++i) {
            if (watched == txtPAM_[i]) {
                const std::string& delay = keyer_->state().slots[i].delay;
                txtPAM_[i]->setText(q(event->type() == QEvent::FocusIn ? DelayEditText(delay)
                                                                       : DelaySecondsText(delay)));
            }
        }
    }
    if (event->type() == QEvent::KeyPress && keyer_ && !ended_ && is_key_preview_target(watched)) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (const int code = virtual_key_code(key)) {
            keyer_->Form_KeyDown(code, shift_state(key));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (ended_ || !keyer_) {
        event->accept();
        return;
    }
    event->ignore();
    keyer_->RequestClose();
}

}  // namespace parlomat
