#pragma once

#include <QWidget>

namespace parlomat {

class Splash;

/// frmSplash: the picture, the product name, the version and the two lines. A click on any
/// part of it, or any key, runs the core's ExitForm.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SplashWindow(Splash& splash, QWidget* parent = nullptr);

    void show_centred();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Splash& splash_;
};

}  // namespace parlomat
