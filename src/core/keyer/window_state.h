#pragma once

#include <array>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

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
    KeepOnTop,
    PTTEnable,
    IgnorePTTInt,
    Timing15s,
    Timing30s,
    TimingMinute,
    Timing2Min,
    chkMode,
    chkInterval,
};
inline constexpr int kCheckCount = 9;

/// Where a check mark shows: an item of the Options menu or of its Sked Timing submenu, or a
/// check box of the main window.
enum class CheckHolder { mnuOptionsItem, mnuOptionsTimingItem, checkBox };
struct CheckPlace {
    CheckHolder holder;
    int item;          ///< the menu item's index; -1 for a check box
    const char* name;  ///< the control's name
};
inline constexpr std::array<CheckPlace, kCheckCount> kCheckPlaces = {{
    {CheckHolder::mnuOptionsItem, 0, "mnuOptionsItem"},
    {CheckHolder::mnuOptionsItem, 2, "mnuOptionsItem"},
    {CheckHolder::mnuOptionsItem, 3, "mnuOptionsItem"},
    {CheckHolder::mnuOptionsTimingItem, 0, "mnuOptionsTimingItem"},
    {CheckHolder::mnuOptionsTimingItem, 1, "mnuOptionsTimingItem"},
    {CheckHolder::mnuOptionsTimingItem, 2, "mnuOptionsTimingItem"},
    {CheckHolder::mnuOptionsTimingItem, 3, "mnuOptionsTimingItem"},
    {CheckHolder::checkBox, -1, "chkMode"},
    {CheckHolder::checkBox, -1, "chkInterval"},
}};

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
enum class SlotField { name, delay, loop, bold, run_colours, unplayable, label };
inline constexpr int kSlotFieldCount = 7;
/// Every field of a slot row with its member: the one list a setter looks a field up in.
inline constexpr auto kSlotFields = std::tuple{
    std::pair{SlotField::name, &SlotLook::name},
    std::pair{SlotField::delay, &SlotLook::delay},
    std::pair{SlotField::loop, &SlotLook::loop},
    std::pair{SlotField::bold, &SlotLook::bold},
    std::pair{SlotField::run_colours, &SlotLook::run_colours},
    std::pair{SlotField::unplayable, &SlotLook::unplayable},
    std::pair{SlotField::label, &SlotLook::label},
};

/// The window frame: the checked slot, the progress gauge, caption and pointer.
struct FrameLook {
    int active = 0;  ///< the checked option button
    int gauge = 0;   ///< 0..100
    std::string caption;
    bool topmost = false;
    bool hourglass = false;  ///< the busy mouse pointer
};
enum class FrameField { active, gauge, caption, topmost, hourglass };
inline constexpr int kFrameFieldCount = 5;
inline constexpr auto kFrameFields = std::tuple{
    std::pair{FrameField::active, &FrameLook::active},
    std::pair{FrameField::gauge, &FrameLook::gauge},
    std::pair{FrameField::caption, &FrameLook::caption},
    std::pair{FrameField::topmost, &FrameLook::topmost},
    std::pair{FrameField::hourglass, &FrameLook::hourglass},
};

/// The field whose member is `member`, from a list like kSlotFields.
template <class Look, class T, class... Rows>
constexpr auto FieldOf(T Look::*member, const std::tuple<Rows...>& rows) {
    decltype(std::get<0>(rows).first) found{};
    std::apply(
        [&](const auto&... row) {
            (
                [&] {
                    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(row.second)>,
                                                 T Look::*>) {
                        if (row.second == member) {
                            found = row.first;
                        }
                    }
                }(),
                ...);
        },
        rows);
    return found;
}

/// Everything the main window shows, as plain data. The core owns it; the view renders it.
struct WindowState {
    std::array<SlotLook, kSlotCount> slots;
    FrameLook frame;
    std::array<std::string, kPanelCount> panels = {"Mode", "Time", "PTT", "", "Status", ""};
    std::array<bool, kButtonCount> buttons = {true, true, true, true, true, true, true};
    std::array<bool, kCheckCount> checks{};
    std::array<bool, kWindowCount> windows{};
    bool ended = false;  ///< the program has ended
};

/// Receives every change of the window state, one field at a time, in the order the handler
/// makes it. A family's call names the field that changed and passes the whole look.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    virtual void slot_changed(int slot, SlotField field, const SlotLook& look) = 0;
    virtual void frame_changed(FrameField field, const FrameLook& frame) = 0;
    virtual void panel_changed(Panel panel, const std::string& text) = 0;
    virtual void button_changed(Button button, bool enabled) = 0;
    virtual void check_changed(Check check, bool on) = 0;
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
