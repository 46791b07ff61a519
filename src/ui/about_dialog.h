#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

namespace parlomat {

/// frmAbout: title, version, description, disclaimer and icon. OK is both the default and the
/// cancel button; "&System Info..." runs the core's StartSysInfo.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(std::function<void()> start_sys_info, QWidget* parent = nullptr);

    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdSysInfo() const { return cmdSysInfo_; }

  private:
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdSysInfo_ = nullptr;
};

}  // namespace parlomat
