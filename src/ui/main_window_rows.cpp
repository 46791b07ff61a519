// The six slot rows: option button, file name, length, label, delay and loop box.
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/keyer/keyer.h"
#include "core/settings/delay_text.h"
#include "ui/loop_box.h"
#include "ui/main_window.h"
#include "ui/name_box.h"
#include "ui/qt_text.h"

namespace parlomat {

namespace {

const char* const kDelayTip =
    "Seconds to monitor the receiver before repeating the message (in steps of 0.1 s)";
const char* const kEmptySlotHint = "Record or Load a message";
}  // namespace

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

}  // namespace parlomat
