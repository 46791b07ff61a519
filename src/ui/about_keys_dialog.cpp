#include "ui/about_keys_dialog.h"
#include "ui/screen_placement.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/about_texts.h"

namespace parlomat {

AboutKeysDialog::AboutKeysDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAboutKeys");
    setWindowTitle(
        QString::fromUtf8(kAboutKeysCaption.data(), qsizetype(kAboutKeysCaption.size())));
    setModal(true);

    lblKeys_ = new QLabel(QString::fromStdString(KeyboardHelpText()), this);
    lblKeys_->setObjectName("lblKeys");
    lblKeys_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblKeys_->setTextFormat(Qt::PlainText);
    lblKeys_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblKeys_->setMargin(12);
    lblKeys_->setAutoFillBackground(true);
    lblKeys_->setBackgroundRole(QPalette::Base);

    cmdOK_ = new QPushButton("&OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblKeys_);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutKeysDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace parlomat
