#include "core/keyer/splash.h"

namespace parlomat {

Splash::Splash(Scheduler& scheduler, MainWindowView& view, Keyer& main_screen)
    : view_(view), main_screen_(main_screen), Timer1(scheduler, [this] { Timer1_Timer(); }) {}

void Splash::Show() {
    if (!shown_) {
        shown_ = true;
        view_.window_changed(Window::frmSplash, true);
    }
}

void Splash::ExitForm() {
    if (!shown_) {
        return;
    }
    Timer1.set_interval(Ms{10});
    Timer1.set_enabled(true);
}

void Splash::Timer1_Timer() {
    Timer1.set_enabled(false);
    main_screen_.Show();
    shown_ = false;
    view_.window_changed(Window::frmSplash, false);
}

}  // namespace parlomat
