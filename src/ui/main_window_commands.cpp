// The command buttons and the menus: each runs its handler on the core.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <array>
#include <utility>

#include "core/keyer/keyer.h"
#include "ui/main_window.h"

namespace parlomat {

namespace {

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

}  // namespace

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

}  // namespace parlomat
