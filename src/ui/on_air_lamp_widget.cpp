#include "ui/on_air_lamp_widget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace parlomat {

OnAirLampWidget::OnAirLampWidget(QWidget* parent) : QFrame(parent) {
    setObjectName("lampOnAir");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setToolTip(
        "Red while the transmitter is keyed; amber during the PTT delay and the receive "
        "window");
    caption_ = new QLabel(this);
    caption_->setObjectName("lblOnAir");
    caption_->setAlignment(Qt::AlignCenter);
    QFont big = caption_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    caption_->setFont(big);
    countdown_ = new QLabel(this);
    countdown_->setObjectName("lblCountdown");
    id_ = new QLabel(this);
    id_->setObjectName("lblIDCountdown");
    id_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* row = new QHBoxLayout;
    row->addWidget(countdown_);
    row->addStretch(1);
    row->addWidget(id_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);
    layout->addWidget(caption_);
    layout->addLayout(row);
    // Wide enough for the longest caption, so the layout does not jump as it changes.
    setMinimumWidth(caption_->fontMetrics().horizontalAdvance("PTT DELAY") + 24);
    set_state(LampState{});
    paint_colours();
}

void OnAirLampWidget::set_state(const LampState& state) {
    const bool colour_changed = state.colour != state_.colour;
    state_ = state;
    caption_->setText(QString::fromStdString(state.text));
    countdown_->setText(QString::fromStdString(state.countdown));
    id_->setText(QString::fromStdString(state.id_text));
    if (colour_changed) {
        paint_colours();
    }
}

void OnAirLampWidget::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        paint_colours();
    }
}

void OnAirLampWidget::paint_colours() {
    // A dark lamp takes the desktop's own colours (light or dark); a lit one the colours of a
    // studio's lamp, readable on either.
    QPalette p = parentWidget() ? parentWidget()->palette() : palette();
    switch (state_.colour) {
        case LampColour::Red:
            p.setColor(QPalette::Window, QColor(0xd0, 0x10, 0x10));
            p.setColor(QPalette::WindowText, Qt::white);
            break;
        case LampColour::Amber:
            p.setColor(QPalette::Window, QColor(0xf0, 0xa0, 0x00));
            p.setColor(QPalette::WindowText, Qt::black);
            break;
        case LampColour::Off:
            p.setColor(QPalette::Window, p.color(QPalette::Button));
            p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
            break;
    }
    setPalette(p);
}

}  // namespace parlomat
