#pragma once

#include <array>
#include <string>

namespace parlomat {

inline constexpr int kSlotCount = 6;

/// Status bar panels, in their order on the bar.
enum class Panel { pnlMode, pnlTime, pnlPTT, pnlSegment, pnlFeedback, pnlID };
inline constexpr int kPanelCount = 6;
inline constexpr std::array<const char*, kPanelCount> kPanelNames = {
    "pnlMode", "pnlTime", "pnlPTT", "pnlSegment", "pnlFeedback", "pnlID"};

/// The main window's command buttons.
enum class Button { cmdLoad, cmdRecord, cmdStart, cmdStop, cmdSave, cmdErase, cmdXmit };
inline constexpr int kButtonCount = 7;
inline constexpr std::array<const char*, kButtonCount> kButtonNames = {
    "cmdLoad", "cmdRecord", "cmdStart", "cmdStop", "cmdSave", "cmdErase", "cmdXmit"};

/// Check marks of the menus and the two mode check boxes.
enum class Check {
    KeepOnTop,     ///< mnuOptionsItem 0
    PTTEnable,     ///< mnuOptionsItem 2
    IgnorePTTInt,  ///< mnuOptionsItem 3
    Timing15s,     ///< mnuOptionsTimingItem 0
    Timing30s,     ///< mnuOptionsTimingItem 1
    TimingMinute,  ///< mnuOptionsTimingItem 2
    Timing2Min,    ///< mnuOptionsTimingItem 3
    chkMode,
    chkInterval,
};
inline constexpr int kCheckCount = 9;

/// The program's windows.
enum class Window { frmSplash, frmMainScreen, frmPreferences, frmAbout, frmAboutKeys };
inline constexpr int kWindowCount = 5;
inline constexpr std::array<const char*, kWindowCount> kWindowNames = {
    "frmSplash", "frmMainScreen", "frmPreferences", "frmAbout", "frmAboutKeys"};

/// What one slot row looks like.
struct SlotLook {
    std::string name;          ///< txtMessage: bare file name, empty = no message
    std::string delay = "0";   ///< txtPAM: receive window in tenths of a second, as typed
    int loop = 0;              ///< chkLoop: 0 unchecked, 1 checked, 2 greyed
    bool bold = false;         ///< the active slot's name is bold
    bool run_colours = false;  ///< bright white on black while a run is under way
    /// Why the named file does not play (shown greyed, the reason as its tool tip); empty when
    /// the slot is empty or its file is open.
    std::string unplayable;
    std::string label;  ///< the operator's words for the message; empty = none
};

/// Everything the main window shows, as plain data. The core owns it; the view renders it.
struct WindowState {
    std::array<SlotLook, kSlotCount> slots;
    int active = 0;  ///< the checked option button
    std::array<std::string, kPanelCount> panels = {"Mode", "Time", "PTT", "", "Status", ""};
    std::array<bool, kButtonCount> buttons = {true, true, true, true, true, true, true};
    int gauge = 0;  ///< 0..100
    std::string caption;
    bool topmost = false;
    std::array<bool, kCheckCount> checks{};
    std::array<bool, kWindowCount> windows{};
    bool hourglass = false;  ///< the busy mouse pointer
    bool ended = false;      ///< the program has ended
};

/// Receives every change of the window state, in the order the handler makes it.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    virtual void panel_changed(Panel panel, const std::string& text) = 0;
    virtual void button_changed(Button button, bool enabled) = 0;
    virtual void slot_name_changed(int slot, const std::string& name) = 0;
    virtual void slot_delay_changed(int slot, const std::string& delay) = 0;
    virtual void slot_loop_changed(int slot, int value) = 0;
    virtual void slot_bold_changed(int slot, bool bold) = 0;
    virtual void slot_colours_changed(int slot, bool run) = 0;
    /// `reason` empty: the slot's name is shown as usual again.
    virtual void slot_unplayable_changed(int /*slot*/, const std::string& /*reason*/) {}
    virtual void slot_label_changed(int /*slot*/, const std::string& /*label*/) {}
    virtual void active_changed(int slot) = 0;
    virtual void gauge_changed(int value) = 0;
    virtual void caption_changed(const std::string& caption) = 0;
    virtual void check_changed(Check check, bool on) = 0;
    virtual void topmost_changed(bool on) = 0;
    virtual void hourglass_changed(bool on) = 0;
    virtual void window_changed(Window window, bool shown) = 0;
    /// Shows a modal window and returns when the view is done with it. A real view returns when
    /// the operator has closed it; a simulated one returns at once.
    virtual void show_modal(Window window) = 0;
    virtual void program_ended() = 0;
    /// The clock has ticked (every 200 ms): readings that change with time alone, the lamp's
    /// countdowns, may be read now.
    virtual void clock_ticked() {}
};

}  // namespace parlomat
