#include "ui/about_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/shell/about_texts.h"
#include "ui/app_icon.h"
#include "ui/qt_text.h"

namespace parlomat {

AboutDialog::AboutDialog(std::function<void()> start_sys_info, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QString::fromStdString(AboutCaption()));
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(app_picture(64, devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = new QLabel(q(kProductName), this);
    lblTitle->setObjectName("lblTitle");
    QFont title = lblTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    lblTitle->setFont(title);
    auto* lblVersion = new QLabel(QString::fromStdString(VersionText()), this);
    lblVersion->setObjectName("lblVersion");
    auto* lblDescription = new QLabel(q(kAboutDescription), this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setWordWrap(true);
    lblDescription->setFixedWidth(lblDescription->fontMetrics().averageCharWidth() * 52);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* lblDisclaimer = new QLabel(q(kAboutDisclaimer), this);
    lblDisclaimer->setObjectName("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblDisclaimer->setFont(small);
    lblDisclaimer->setFixedWidth(lblDisclaimer->fontMetrics().averageCharWidth() * 60);

    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdSysInfo_ = new QPushButton("&System Info...", this);
    cmdSysInfo_->setObjectName("cmdSysInfo");
    cmdSysInfo_->setAutoDefault(false);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo_, &QPushButton::clicked, this, [run = std::move(start_sys_info)] {
        if (run) {
            run();
        }
    });

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picIcon, 0, 0, 3, 1);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(line, 3, 0, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdSysInfo_);
    buttons->addStretch(1);
    bottom->addLayout(buttons);
    grid->addLayout(bottom, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace parlomat
