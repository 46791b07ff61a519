#pragma once

#include "core/keyer/keyer.h"
#include "core/runtime/timer.h"

namespace parlomat {

/// frmSplash: waits for a click or a key, then (10 ms later) shows the main window.
class Splash {
  public:
    Splash(Scheduler& scheduler, MainWindowView& view, Keyer& main_screen);

    void Show();
    /// A click anywhere on the window, or any key.
    void ExitForm();
    bool shown() const { return shown_; }

  private:
    void Timer1_Timer();

    MainWindowView& view_;
    Keyer& main_screen_;
    Timer Timer1;
    bool shown_ = false;
};

}  // namespace parlomat
