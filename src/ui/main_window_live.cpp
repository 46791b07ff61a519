// The main window's live readings: the lamp, the meter, the recording time and the lengths.
// They are read every kLiveRefreshMs only while something moves (a run, a key-down, a channel
// that plays or records); otherwise on the core's clock tick, and the lengths only after a
// change that may have touched a slot.
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "core/keyer/keyer.h"
#include "ui/level_meter_widget.h"
#include "ui/main_window.h"
#include "ui/message_tools.h"
#include "ui/on_air_lamp_widget.h"

namespace parlomat {
namespace {

/// The monotonic clock the clip lamp's hold is measured on.
std::chrono::milliseconds MonotonicNow() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return std::chrono::milliseconds{clock.elapsed()};
}

void SetText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
    }
}

}  // namespace

void MainWindow::refresh_live() {
    read_moving();
    read_lengths();
}

void MainWindow::read_moving() {
    if (!keyer_) {
        return;
    }
    lamp_->set_state(keyer_->lamp());
    tools_->refresh();
    meter_->set_level(keyer_->MeterLevel(), MonotonicNow());
    const QString elapsed = QString::fromStdString(keyer_->RecordingElapsedText());
    SetText(lblElapsed_, elapsed);
    // The Record button shows that it records, with the time so far.
    QPushButton* record = button(Button::cmdRecord);
    const QString caption = elapsed.isEmpty() ? QString("&Record") : "\u25cf " + elapsed;
    if (record->text() != caption) {
        record->setText(caption);
    }
    if (!elapsed.isEmpty()) {
        // The take grows in the active slot.
        const int active = keyer_->state().frame.active;
        if (active >= 0 && active < kSlotCount) {
            SetText(lblLength_[active], QString::fromStdString(keyer_->SlotLengthText(active)));
        }
    }
}

void MainWindow::read_lengths() {
    if (!keyer_) {
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        SetText(lblLength_[i], QString::fromStdString(keyer_->SlotLengthText(i)));
    }
}

void MainWindow::clock_ticked() {
    if (!live_->isActive()) {
        read_moving();
    }
    pace();
}

void MainWindow::follow(bool slots) {
    lengths_stale_ = lengths_stale_ || slots;
    if (follow_queued_) {
        return;
    }
    follow_queued_ = true;
    // After the core's handler has finished: its state is whole by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            follow_queued_ = false;
            if (lengths_stale_) {
                lengths_stale_ = false;
                read_lengths();
            }
            pace();
        },
        Qt::QueuedConnection);
}

void MainWindow::pace() {
    const bool moving = keyer_ && !ended_ && keyer_->live();
    if (moving == live_->isActive()) {
        return;
    }
    if (moving) {
        live_->start();
        read_moving();
        return;
    }
    live_->stop();
    // The last reading shows the rest state; a take or a play may have changed a length.
    refresh_live();
}

}  // namespace parlomat
