#include "ui/loop_box.h"

namespace parlomat {

LoopBox::LoopBox(QWidget* parent) : QCheckBox(parent) {
    setTristate(true);
}

void LoopBox::set_value(int value) {
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

int LoopBox::value() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void LoopBox::nextCheckState() {
    if (on_click_) {
        on_click_(value() == 0 ? 1 : 0);
    }
}

}  // namespace parlomat
