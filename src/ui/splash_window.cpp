#include "ui/splash_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "core/keyer/splash.h"
#include "core/shell/about_texts.h"
#include "ui/app_icon.h"
#include "ui/qt_text.h"
#include "ui/screen_placement.h"

namespace parlomat {

SplashWindow::SplashWindow(Splash& splash, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), splash_(splash) {
    setObjectName("frmSplash");
    setWindowTitle("Parlomat");
    setWindowIcon(app_icon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    auto* frame = new QFrame(this);
    frame->setObjectName("Frame1");
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setToolTip(q(kSplashToolTip));
    outer->addWidget(frame);

    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(24, 20, 28, 20);
    row->setSpacing(24);
    auto* picture = new QLabel(frame);
    picture->setObjectName("imgLogo");
    picture->setPixmap(app_picture(128, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);
    row->addWidget(picture);

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    auto* product = new QLabel(q(kProductName), frame);
    product->setObjectName("lblProductName");
    product->setToolTip(q(kSplashToolTip));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.6);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(QString::fromStdString(VersionText()), frame);
    version->setObjectName("lblVersion");
    QFont medium = version->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.2);
    version->setFont(medium);
    auto* platform = new QLabel(q(kSplashPlatformLine), frame);
    platform->setObjectName("lblPlatform");
    auto* tag = new QLabel(q(kSplashTagLine), frame);
    tag->setObjectName("lblCompanyProduct");
    QFont italic = tag->font();
    italic.setItalic(true);
    tag->setFont(italic);
    text->addStretch(1);
    text->addWidget(product);
    text->addWidget(version);
    text->addSpacing(10);
    text->addWidget(platform);
    text->addWidget(tag);
    text->addStretch(1);
    row->addLayout(text, 1);

    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void SplashWindow::show_centred() {
    adjustSize();
    CentreOnScreen(*this);
    show();
    raise();
    activateWindow();
    setFocus();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress) {
        splash_.ExitForm();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::mouseReleaseEvent(QMouseEvent*) {
    splash_.ExitForm();
}

void SplashWindow::keyPressEvent(QKeyEvent*) {
    splash_.ExitForm();
}

}  // namespace parlomat
