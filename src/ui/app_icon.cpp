#include "ui/app_icon.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: register them before the first use.
static void init_ui_resources() {
    Q_INIT_RESOURCE(ui);
}

namespace parlomat {

namespace {
const char* const kPicture = ":/parlomat/parlomat.svg";
}

QPixmap app_picture(int size, qreal device_ratio) {
    init_ui_resources();
    const int device_size = qRound(size * device_ratio);
    QPixmap pixmap(device_size, device_size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer{QString(kPicture)};
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(device_ratio);
    return pixmap;
}

QIcon app_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(app_picture(size));
    }
    return icon;
}

}  // namespace parlomat
