#include "ui/message_tools.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "core/keyer/keyer.h"

namespace parlomat {

MessageTools::MessageTools(QWidget* parent) : QWidget(parent) {
    setObjectName("fraMessageTools");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    cmdListen_ =
        add("cmdListen", "Listen", "Play the selected message to the speakers without keying",
            &Keyer::cmdListen_Click);
    cmdTrim_ =
        add("cmdTrim", "Trim", "Cut the silence at both ends (below -45 dBFS), keeping 0.1 s",
            &Keyer::cmdTrim_Click);
    cmdNormalize_ = add("cmdNormalize", "Normalize", "Bring the loudest peak to -1 dBFS",
                        &Keyer::cmdNormalize_Click);
    cmdUndo_ = add("cmdUndo", "Undo", "Take back the latest edit (until the message is saved)",
                   &Keyer::cmdUndo_Click);
    row->addStretch(1);
    refresh();
}

QPushButton* MessageTools::add(const char* object, const char* caption, const char* tip,
                               void (Keyer::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(object);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler] {
        if (keyer_) {
            (keyer_->*handler)();
            refresh();
        }
    });
    layout()->addWidget(button);
    return button;
}

void MessageTools::bind(Keyer& keyer) {
    keyer_ = &keyer;
    refresh();
}

void MessageTools::refresh() {
    const Keyer::ToolsState tools = keyer_ ? keyer_->MessageToolsState() : Keyer::ToolsState{};
    cmdListen_->setEnabled(tools.ready);
    cmdTrim_->setEnabled(tools.ready);
    cmdNormalize_->setEnabled(tools.ready);
    cmdUndo_->setEnabled(tools.undo);
}

}  // namespace parlomat
