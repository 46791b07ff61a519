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
    QPalette p = palette();
    const QColor text = run ? Qt::white : Qt::black;
    const QColor base = run ? Qt::black : Qt::white;
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
