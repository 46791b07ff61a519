#include "ui/level_meter_widget.h"

#include <QPainter>

namespace parlomat {

LevelMeterWidget::LevelMeterWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("mtrLevel");
    setToolTip("Level: RMS bar and peak line, -60 to 0 dBFS; the right end lights on clipping");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LevelMeterWidget::set_level(const ChannelLevel& level, std::chrono::milliseconds now) {
    const bool lit = clip_.update(level.peak_dbfs, now);
    if (lit == clip_lit_ && level.peak_dbfs == level_.peak_dbfs &&
        level.rms_dbfs == level_.rms_dbfs) {
        return;
    }
    level_ = level;
    clip_lit_ = lit;
    update();
}

QSize LevelMeterWidget::sizeHint() const {
    return {fontMetrics().horizontalAdvance("0") * 30, fontMetrics().height() * 2 / 3};
}

QSize LevelMeterWidget::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance("0") * 10, fontMetrics().height() * 2 / 3};
}

void LevelMeterWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRectF all = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal lamp_width = all.height() * 1.5;
    const QRectF scale(all.left(), all.top(), all.width() - lamp_width - 3, all.height());
    const QRectF lamp(scale.right() + 3, all.top(), lamp_width, all.height());
    painter.fillRect(scale, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(scale);

    const qreal rms = scale.width() * MeterFraction(level_.rms_dbfs);
    // Green up to -12 dBFS, yellow to -3, red above: the usual colours of a level meter.
    const auto colour_at = [&](qreal x) {
        const float dbfs = kMeterFloorDbfs * (1.0f - static_cast<float>(x / scale.width()));
        return dbfs < -12.0f  ? QColor(0x2e, 0xa0, 0x43)
               : dbfs < -3.0f ? QColor(0xe0, 0xb0, 0x00)
                              : QColor(0xd0, 0x20, 0x20);
    };
    if (rms > 0) {
        painter.fillRect(QRectF(scale.left() + 1, scale.top() + 1, rms - 1, scale.height() - 2),
                         colour_at(rms));
    }
    const qreal peak = scale.width() * MeterFraction(level_.peak_dbfs);
    if (peak > 0) {
        painter.setPen(QPen(colour_at(peak), 2));
        painter.drawLine(QPointF(scale.left() + peak, scale.top() + 1),
                         QPointF(scale.left() + peak, scale.bottom() - 1));
    }
    painter.fillRect(lamp,
                     clip_lit_ ? QColor(0xd0, 0x10, 0x10) : palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(lamp);
}

}  // namespace parlomat
