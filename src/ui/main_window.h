#pragma once

#include <QMainWindow>
#include <array>
#include <functional>

#include "core/keyer/window_state.h"
#include "core/settings/preferences_form.h"

class QAction;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QTimer;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace parlomat {

class Keyer;
class Splash;
class LevelMeterWidget;
class LoopBox;
class MessageTools;
class NameBox;
class OnAirLampWidget;
class PreferencesDialog;
class SplashWindow;
class StatusPanelBar;

/// frmMainScreen: renders the core's window state and forwards every click, key and menu
/// command to the core's handler. It decides nothing itself.
class MainWindow : public QMainWindow, public MainWindowView, public PreferencesView {
    Q_OBJECT
  public:
    /// How often the lamp, the meter and the recording time are read while something moves, ms.
    static constexpr int kLiveRefreshMs = 50;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Connects the window to the core. Call once, after the Keyer and Splash exist (they are
    /// built with this window as their view) and before the first event.
    void bind(Keyer& keyer, Splash& splash);
    /// Runs when the preferences dialog opens, before it shows: the program fills the device lists.
    void on_preferences_open(std::function<void(PreferencesForm&)> hook) {
        preferences_hook_ = std::move(hook);
    }

    QRadioButton* optMessage(int index) const { return optMessage_[index]; }
    NameBox* txtMessage(int index) const { return txtMessage_[index]; }
    QLineEdit* txtPAM(int index) const { return txtPAM_[index]; }
    /// Loop box of slot `index` (0..5), chkLoop1 .. chkLoop6.
    LoopBox* chkLoop(int index) const { return chkLoop_[index]; }
    /// The operator's label for slot `index`, and the length of its message.
    QLineEdit* txtLabel(int index) const { return txtLabel_[index]; }
    QLabel* lblLength(int index) const { return lblLength_[index]; }
    OnAirLampWidget* lamp() const { return lamp_; }
    LevelMeterWidget* meter() const { return meter_; }
    QLabel* lblElapsed() const { return lblElapsed_; }
    /// Listen, Trim, Normalize and Undo for the active slot's message.
    MessageTools* tools() const { return tools_; }
    /// Reads the lamp, the meter, the recording time and the lengths from the core now (the
    /// window does so on its own: every kLiveRefreshMs while something moves, else on the
    /// clock tick, the lengths after a slot changed).
    void refresh_live();
    QPushButton* button(Button which) const { return buttons_[static_cast<int>(which)]; }
    QCheckBox* chkMode() const { return chkMode_; }
    QCheckBox* chkInterval() const { return chkInterval_; }
    QProgressBar* gauProgress() const { return gauProgress_; }
    StatusPanelBar* StatusBar1() const { return StatusBar1_; }
    QAction* mnuFileItem(int index) const { return mnuFileItem_[index]; }
    QAction* mnuOptionsItem(int index) const { return mnuOptionsItem_[index]; }
    QAction* mnuOptionsTimingItem(int index) const { return mnuOptionsTimingItem_[index]; }
    QAction* mnuMixerItem(int index) const { return mnuMixerItem_[index]; }
    QAction* mnuHelpItem(int index) const { return mnuHelpItem_[index]; }
    SplashWindow* splash_window() const { return splash_window_; }
    /// The modal window now open (preferences, About, keyboard help), or nullptr.
    QDialog* modal_dialog() const { return modal_; }
    /// Brings the program's visible window (start-up or main) to the front of the desktop.
    void bring_to_front();

    // MainWindowView
    void slot_changed(int slot, SlotField field, const SlotLook& look) override;
    void frame_changed(FrameField field, const FrameLook& frame) override;
    void panel_changed(Panel panel, const std::string& text) override;
    void button_changed(Button button, bool enabled) override;
    void check_changed(Check check, bool on) override;
    void window_changed(Window window, bool shown) override;
    void show_modal(Window window) override;
    void program_ended() override;
    void clock_ticked() override;

    // PreferencesView
    void control_changed(PrefControl control, const std::string& text) override;

  Q_SIGNALS:
    /// The program has ended: the application should quit.
    void ended();
    /// The main window has been shown (the load sequence has run).
    void main_shown();
    /// A modal window is about to block; `dialog` is open until exec returns.
    void modal_opened(QDialog* dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build_slots(QWidget* parent);
    void build_buttons();
    void build_menus();
    /// Brings every widget in line with the core's state.
    void render();
    void render_checks();
    /// A delay box shows seconds, or the tenths as typed while the operator edits it.
    void show_delay(int slot, const std::string& delay);
    void show_centred();
    /// Where the window's size and place are kept between runs (beside the settings file).
    QString geometry_file() const;
    void save_geometry();
    void run_modal(QDialog& dialog);
    bool is_key_preview_target(QObject* watched) const;
    /// The lamp, the meter and the recording time (and the length of a take as it grows).
    void read_moving();
    void read_lengths();
    /// After the core's notifications: reads the lengths when `slots` may have changed, and
    /// checks the pace.
    void follow(bool slots);
    /// Polls every kLiveRefreshMs while the keyer is live, and not at all otherwise.
    void pace();

    Keyer* keyer_ = nullptr;
    Splash* splash_ = nullptr;
    SplashWindow* splash_window_ = nullptr;
    PreferencesDialog* preferences_dialog_ = nullptr;
    QDialog* modal_ = nullptr;
    std::function<void(PreferencesForm&)> preferences_hook_;
    bool ended_ = false;
    bool cursor_overridden_ = false;

    std::array<QRadioButton*, kSlotCount> optMessage_{};
    std::array<NameBox*, kSlotCount> txtMessage_{};
    std::array<QLineEdit*, kSlotCount> txtPAM_{};
    std::array<LoopBox*, kSlotCount> chkLoop_{};
    std::array<QLineEdit*, kSlotCount> txtLabel_{};
    std::array<QLabel*, kSlotCount> lblLength_{};
    OnAirLampWidget* lamp_ = nullptr;
    LevelMeterWidget* meter_ = nullptr;
    QLabel* lblElapsed_ = nullptr;
    MessageTools* tools_ = nullptr;
    QTimer* live_ = nullptr;
    bool follow_queued_ = false;
    bool lengths_stale_ = false;
    std::array<QPushButton*, kButtonCount> buttons_{};
    QCheckBox* chkMode_ = nullptr;
    QCheckBox* chkInterval_ = nullptr;
    QProgressBar* gauProgress_ = nullptr;
    StatusPanelBar* StatusBar1_ = nullptr;
    std::array<QAction*, 5> mnuFileItem_{};
    std::array<QAction*, 4> mnuOptionsItem_{};
    std::array<QAction*, 4> mnuOptionsTimingItem_{};
    std::array<QAction*, 2> mnuMixerItem_{};
    std::array<QAction*, 3> mnuHelpItem_{};
};

}  // namespace parlomat
