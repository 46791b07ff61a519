#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace parlomat {

/// frmAboutKeys: the list of function keys in a fixed-pitch font, centred on the screen.
class AboutKeysDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutKeysDialog(QWidget* parent = nullptr);

    QLabel* lblKeys() const { return lblKeys_; }
    QPushButton* cmdOK() const { return cmdOK_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* lblKeys_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

}  // namespace parlomat
