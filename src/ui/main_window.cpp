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
#include "ui/screen_placement.h"
#include "ui/splash_window.h"
#include "ui/status_panel_bar.h"

namespace parlomat {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

struct ButtonFace {
    Button button;
    const char* caption;
    const char* tip;
};

constexpr std::array<ButtonFace, kButtonCount> kButtonFaces = {{
    {Button::cmdLoad, "&Load", "Load wave file (*.wav) from disk"},
    {Button::cmdRecord, "&Record", "Record a message"},
    {Button::cmdStart, "S&tart", "Initiate playback of selected message (F12)"},
    {Button::cmdStop, "&Stop", "Stop playback of selected message (ESC)"},
    {Button::cmdSave, "S&ave", "Save the selected message to disk"},
    {Button::cmdErase, "&Erase", "Erase the selected message"},
    {Button::cmdXmit, "&Xmit", "Key transmitter via PTT interface"},
}};

const char* const kDelayTip =
    "Seconds to monitor the receiver before repeating the message (in steps of 0.1 s)";
const char* const kEmptySlotHint = "Record or Load a message";
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

void MainWindow::build_slots(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    // Columns: option button, file name, length, label, delay, loop.
    enum Column { kOpt, kName, kLength, kLabel, kDelay, kLoop, kSpare };
    // The column heading over the slot rows; the frame's own caption heads the option buttons.
    const struct {
        int column;
        const char* text;
        const char* object;
    } headings[] = {{kName, "File Name", "lblMessage1"},
                    {kLength, "Length", "lblLengthHeading"},
                    {kLabel, "Label", "lblLabelHeading"},
                    {kDelay, "Delay", "lblMessage2"},
                    {kLoop, "Loop", "lblMessage3"}};
    for (const auto& h : headings) {
        auto* label = new QLabel(h.text, parent);
        label->setObjectName(h.object);
        label->setAlignment(h.column == kName || h.column == kLabel
                                ? Qt::AlignLeft | Qt::AlignBottom
                                : Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(label, 0, h.column);
    }

    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    const QString name_width_sample = "A_LONG_MESSAGE_NAME.wav";
    for (int i = 0; i < kSlotCount; ++i) {
        auto* opt = new QRadioButton(QString("Msg %1").arg(i + 1), parent);
        opt->setObjectName(QString("optMessage%1").arg(i));
        opt->setToolTip(QString("Make message %1 active (F%1)").arg(i + 1));
        group->addButton(opt, i);
        connect(opt, &QRadioButton::clicked, this, [this, i] {
            if (keyer_ && keyer_->state().frame.active != i) {
                keyer_->optMessage_Click(i);
            }
            if (keyer_) {
                optMessage_[keyer_->state().frame.active]->setChecked(true);
            }
        });

        auto* name = new NameBox(parent);
        name->setObjectName(QString("txtMessage%1").arg(i));
        name->setMinimumWidth(name->fontMetrics().horizontalAdvance(name_width_sample));
        name->setPlaceholderText(kEmptySlotHint);

        auto* length = new QLabel(parent);
        length->setObjectName(QString("lblLength%1").arg(i));
        length->setToolTip("Length of the message (m:ss.s)");
        length->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        length->setMinimumWidth(length->fontMetrics().horizontalAdvance("00:00.0"));

        auto* label = new QLineEdit(parent);
        label->setObjectName(QString("txtLabel%1").arg(i));
        label->setToolTip("Your words for this message, kept with the configuration");
        label->setPlaceholderText(i == 0 ? "e.g. CQ contest" : "");
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance("CQ contest long"));
        connect(label, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (keyer_) {
                keyer_->txtLabel_Change(i, text.toStdString());
            }
        });

        // Shows seconds ("2.0 s") and takes seconds; the core keeps tenths.
        auto* delay = new QLineEdit(q(DelaySecondsText("0")), parent);
        delay->setObjectName(QString("txtPAM%1").arg(i));
        delay->setToolTip(kDelayTip);
        delay->setAlignment(Qt::AlignRight);
        delay->setMaxLength(255);  // one configuration value holds at most 255 characters
        delay->setFixedWidth(delay->fontMetrics().horizontalAdvance("0000.0 s") + 14);
        delay->installEventFilter(this);
        connect(delay, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (keyer_) {
                keyer_->txtPAM_Change(i, DelayTenthsText(text.toStdString()));
            }
        });

        auto* loop = new LoopBox(parent);
        loop->setObjectName(QString("chkLoop%1").arg(i + 1));
        loop->setToolTip(i == 3 ? "Loop message during xmit" : "Loop message during xmit interval");
        loop->on_click([this, i](int value) {
            if (keyer_) {
                keyer_->chkLoop_Change(i, value);
            }
        });

        grid->addWidget(opt, i + 1, kOpt);
        grid->addWidget(name, i + 1, kName);
        grid->addWidget(length, i + 1, kLength);
        grid->addWidget(label, i + 1, kLabel);
        grid->addWidget(delay, i + 1, kDelay);
        grid->addWidget(loop, i + 1, kLoop, Qt::AlignCenter);
        lblLength_[i] = length;
        txtLabel_[i] = label;
        optMessage_[i] = opt;
        txtMessage_[i] = name;
        txtPAM_[i] = delay;
        chkLoop_[i] = loop;
    }
    grid->setColumnStretch(kName, 2);
    grid->setColumnStretch(kLabel, 1);
    // Height to spare spaces the rows evenly rather than opening a gap under the frame's title:
    // the boxes keep their height, so an empty expanding item lets each row grow around them.
    for (int row = 1; row <= kSlotCount; ++row) {
        grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), row,
                      kSpare);
        grid->setRowStretch(row, 1);
    }
    optMessage_[0]->setChecked(true);
}

void MainWindow::build_buttons() {
    for (const auto& face : kButtonFaces) {
        auto* b = new QPushButton(face.caption);
        b->setObjectName(kButtonNames[static_cast<int>(face.button)]);
        b->setToolTip(face.tip);
        b->setAutoDefault(false);
        b->setMinimumWidth(84);
        buttons_[static_cast<int>(face.button)] = b;
    }
    using Handler = void (*)(Keyer&);
    const std::array<std::pair<Button, Handler>, kButtonCount> handlers = {{
        {Button::cmdLoad, [](Keyer& k) { k.cmdLoad_Click(); }},
        {Button::cmdRecord, [](Keyer& k) { k.cmdRecord_Click(); }},
        {Button::cmdStart, [](Keyer& k) { k.cmdStart_Click(); }},
        {Button::cmdStop, [](Keyer& k) { k.cmdStop_Click(); }},
        {Button::cmdSave, [](Keyer& k) { k.cmdSave_Click(); }},
        {Button::cmdErase, [](Keyer& k) { k.cmdErase_Click(); }},
        {Button::cmdXmit, [](Keyer& k) { k.cmdXmit_Click(); }},
    }};
    for (const auto& [which, handler] : handlers) {
        connect(button(which), &QPushButton::clicked, this, [this, handler = handler] {
            if (keyer_) {
                handler(*keyer_);
            }
        });
    }
}

void MainWindow::build_menus() {
    // Each item runs its menu's handler with the item's index; checkable items then show the
    // core's check mark, not the one Qt toggled.
    using Handler = void (*)(Keyer&, int);
    auto add = [this](QMenu* menu, const char* caption, int index, Handler handler,
                      bool checkable) {
        QAction* action = menu->addAction(caption);
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, handler, index] {
            if (keyer_) {
                handler(*keyer_, index);
            }
            render_checks();
        });
        return action;
    };
    const Handler file_item = [](Keyer& k, int i) { k.mnuFileItem_Click(i); };
    const Handler options_item = [](Keyer& k, int i) { k.mnuOptionsItem_Click(i); };
    const Handler timing_item = [](Keyer& k, int i) { k.mnuOptionsTimingItem_Click(i); };
    const Handler mixer_item = [](Keyer& k, int i) { k.mnuMixerItem_Click(i); };
    const Handler help_item = [](Keyer& k, int i) { k.mnuHelpItem_Click(i); };

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    mnuFileItem_[0] = add(file, "&Load config", 0, file_item, false);
    mnuFileItem_[1] = add(file, "&Save config", 1, file_item, false);
    mnuFileItem_[2] = add(file, "&Preferences", 2, file_item, false);
    mnuFileItem_[3] = file->addSeparator();
    mnuFileItem_[4] = file->addAction("E&xit");
    connect(mnuFileItem_[4], &QAction::triggered, this, [this] {
        if (keyer_) {
            keyer_->mnuFileItem_Click(4);
        }
    });

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("mnuOptions");
    mnuOptionsItem_[0] = add(options, "&Keep on top", 0, options_item, true);
    QMenu* timing = options->addMenu("&Sked Timing");
    timing->setObjectName("mnuOptionsTiming");
    mnuOptionsItem_[1] = timing->menuAction();
    const std::array<const char*, 4> periods = {"&15 Seconds", "&30 Seconds", "&One Minute",
                                                "&Two Minute"};
    for (int i = 0; i < 4; ++i) {
        mnuOptionsTimingItem_[i] = add(timing, periods[i], i, timing_item, true);
    }
    mnuOptionsItem_[2] = add(options, "&PTT Enable", 2, options_item, true);
    mnuOptionsItem_[3] = add(options, "&Ignore PTT Int", 3, options_item, true);

    QMenu* mixer = menuBar()->addMenu("&Mixer");
    mixer->setObjectName("mnuMixer");
    mnuMixerItem_[0] = add(mixer, "&Playback Mixer", 0, mixer_item, false);
    mnuMixerItem_[1] = add(mixer, "&Record Mixer", 1, mixer_item, false);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    mnuHelpItem_[0] = add(help, "&Keyboard", 0, help_item, false);
    mnuHelpItem_[1] = add(help, "&WWW Help On-line", 1, help_item, false);
    mnuHelpItem_[2] = add(help, "&About", 2, help_item, false);
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

void MainWindow::slot_changed(int slot, SlotField field, const SlotLook& look) {
    NameBox* name = txtMessage_[slot];
    switch (field) {
        case SlotField::name:
            follow(true);
            name->setText(q(look.name));
            name->setCursorPosition(0);
            break;
        case SlotField::delay:
            show_delay(slot, look.delay);
            break;
        case SlotField::loop:
            chkLoop_[slot]->set_value(look.loop);
            break;
        case SlotField::bold:
            name->set_bold(look.bold);
            break;
        case SlotField::run_colours:
            name->set_run_colours(look.run_colours);
            break;
        case SlotField::unplayable:
            follow(true);
            name->set_unplayable(q(look.unplayable));
            break;
        case SlotField::label:
            if (txtLabel_[slot]->text() != q(look.label)) {
                txtLabel_[slot]->setText(q(look.label));
            }
            break;
    }
}

void MainWindow::show_delay(int slot, const std::string& delay) {
    QLineEdit* box = txtPAM_[slot];
    if (box->hasFocus()) {
        // The operator is typing: leave the text alone while it means the same tenths.
        if (DelayTenthsText(box->text().toStdString()) != DelayTenthsText(DelayEditText(delay))) {
            box->setText(q(DelayEditText(delay)));
        }
        return;
    }
    const QString text = q(DelaySecondsText(delay));
    if (box->text() != text) {
        box->setText(text);
    }
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
