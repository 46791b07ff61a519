#include "ui/status_panel_bar.h"

#include <QLabel>
#include <QMouseEvent>

namespace parlomat {

namespace {
// Relative panel widths, as designed in twips.
constexpr std::array<int, kPanelCount> kPanelWidths = {1764, 1764, 2117, 1764, 4322, 2117};
// The design-time texts, which are also the panels' tool tips.
constexpr std::array<const char*, kPanelCount> kPanelTips = {"Mode", "Time",   "PTT",
                                                             "",     "Status", ""};
}  // namespace

StatusPanelBar::StatusPanelBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(QString::fromUtf8(kPanelTips[i]), this);
        label->setObjectName(QString::fromUtf8(kPanelNames[i]));
        label->setToolTip(QString::fromUtf8(kPanelTips[i]));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setMinimumWidth(1);
        label->setContentsMargins(3, 0, 3, 0);
        addPermanentWidget(label, kPanelWidths[i]);
        label->installEventFilter(this);
        labels_[i] = label;
    }
}

void StatusPanelBar::set_text(Panel panel, const QString& text) {
    labels_[static_cast<int>(panel)]->setText(text);
}

QString StatusPanelBar::text(Panel panel) const {
    return labels_[static_cast<int>(panel)]->text();
}

bool StatusPanelBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease ||
        event->type() == QEvent::MouseButtonDblClick) {
        return mouse(static_cast<const QMouseEvent&>(*event));
    }
    return QStatusBar::eventFilter(watched, event);
}

void StatusPanelBar::mouseReleaseEvent(QMouseEvent* event) {
    if (!mouse(*event)) {
        QStatusBar::mouseReleaseEvent(event);
    }
}

void StatusPanelBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!mouse(*event)) {
        QStatusBar::mouseDoubleClickEvent(event);
    }
}

bool StatusPanelBar::mouse(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return false;
    }
    if (event.type() == QEvent::MouseButtonDblClick) {
        release_ends_double_click_ = true;
        Q_EMIT doubleClicked();
    } else if (release_ends_double_click_) {
        release_ends_double_click_ = false;
    } else {
        Q_EMIT clicked();
    }
    return true;
}

}  // namespace parlomat
