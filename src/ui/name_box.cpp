#include "ui/name_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace parlomat {

NameBox::NameBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    set_run_colours(false);
}

void NameBox::set_bold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void NameBox::set_run_colours(bool run) {
    run_ = run;
    apply_palette();
}

void NameBox::set_unplayable(const QString& reason) {
    unplayable_ = !reason.isEmpty();
    setToolTip(unplayable_ ? "Not loaded: " + reason : QString());
    apply_palette();
}

void NameBox::apply_palette() {
    QPalette p = palette();
    const QColor text = unplayable_ ? QColor(Qt::gray) : run_ ? Qt::white : Qt::black;
    const QColor base = run_ ? Qt::black : Qt::white;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Base, base);
    }
    setPalette(p);
}

void NameBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void NameBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    deselect();
    setCursorPosition(0);
}

}  // namespace parlomat
