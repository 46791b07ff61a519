#include "ui/welcome_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/shell/welcome_text.h"

namespace parlomat {

bool ShowWelcome(QWidget* parent, const std::string& station_dir) {
    QMessageBox box(QMessageBox::Information, kWelcomeTitle,
                    QString::fromStdString(WelcomeText(station_dir)), QMessageBox::NoButton,
                    parent);
    box.setObjectName("frmWelcome");
    QPushButton* record = box.addButton(kWelcomeRecord, QMessageBox::AcceptRole);
    box.addButton(kWelcomeLater, QMessageBox::RejectRole);
    box.setDefaultButton(record);
    box.exec();
    return box.clickedButton() == record;
}

}  // namespace parlomat
