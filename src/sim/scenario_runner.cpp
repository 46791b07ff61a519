#include "sim/scenario_runner.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/settings/numbers.h"
#include "sim/station_paths.h"

namespace parlomat {

namespace {

/// A line the runner cannot parse (exit status 2).
struct BadLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// A parsed command that cannot be carried out (exit status 1).
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::optional<long long> ToInteger(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

long long Integer(std::string_view text, long long low, long long high, const char* what) {
    const auto value = ToInteger(text);
    if (!value || *value < low || *value > high) {
        throw BadLine(std::string("bad ") + what + " \"" + std::string(text) + "\"");
    }
    return *value;
}

template <std::size_t N>
int IndexOf(const std::array<const char*, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (name == names[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<int> KeyCode(std::string_view name) {
    if (name == "Esc") {
        return 27;
    }
    if (name == "KeypadPlus") {
        return 107;
    }
    if (name == "Plus") {
        return 187;
    }
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        return name[0];
    }
    if (name.size() >= 2 && name[0] == 'F') {
        const auto number = ToInteger(name.substr(1));
        if (number && *number >= 1 && *number <= 12) {
            return 111 + static_cast<int>(*number);
        }
    }
    return std::nullopt;
}

constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;

}  // namespace

/// The words of one script line, read left to right.
class ScenarioRunner::Words {
  public:
    explicit Words(std::string line) : line_(std::move(line)) {
        while (!line_.empty() && (line_.back() == '\r' || line_.back() == '\n')) {
            line_.pop_back();
        }
    }

    bool empty_or_comment() {
        skip_blanks();
        return at_ == line_.size() || line_[at_] == '#';
    }

    bool at_end() {
        skip_blanks();
        return at_ == line_.size();
    }

    std::optional<std::string> next() {
        skip_blanks();
        if (at_ == line_.size()) {
            return std::nullopt;
        }
        const std::size_t start = at_;
        while (at_ < line_.size() && !IsBlank(line_[at_])) {
            ++at_;
        }
        return line_.substr(start, at_ - start);
    }

    std::string word(const char* what) {
        auto result = next();
        if (!result) {
            throw BadLine(std::string("missing ") + what);
        }
        return *result;
    }

    /// The rest of the line, or a double-quoted string with \" \\ \n escapes.
    std::string text(const char* what) {
        skip_blanks();
        if (at_ == line_.size()) {
            throw BadLine(std::string("missing ") + what);
        }
        if (line_[at_] != '"') {
            std::string rest = line_.substr(at_);
            at_ = line_.size();
            return rest;
        }
        std::string result;
        for (++at_; at_ < line_.size(); ++at_) {
            const char c = line_[at_];
            if (c == '"') {
                ++at_;
                done();
                return result;
            }
            if (c == '\\') {
                if (++at_ == line_.size()) {
                    break;
                }
                switch (line_[at_]) {
                    case '"':
                        result += '"';
                        break;
                    case '\\':
                        result += '\\';
                        break;
                    case 'n':
                        result += '\n';
                        break;
                    default:
                        throw BadLine("unknown escape in a quoted text");
                }
            } else {
                result += c;
            }
        }
        throw BadLine("unterminated quoted text");
    }

    /// Nothing may follow.
    void done() {
        if (!at_end()) {
            throw BadLine("unexpected \"" + line_.substr(at_) + "\"");
        }
    }

  private:
    void skip_blanks() {
        while (at_ < line_.size() && IsBlank(line_[at_])) {
            ++at_;
        }
    }

    std::string line_;
    std::size_t at_ = 0;
};

LocalTime ScenarioRunner::DefaultClock() {
    using namespace std::chrono;
    return LocalTime{local_days{year{2026} / January / 1} + hours{12}};
}

ScenarioRunner::ScenarioRunner(std::string station_dir, std::ostream& out, std::ostream& err)
    : station_dir_(std::move(station_dir)),
      out_(out),
      err_(err),
      scheduler_(DefaultClock()),
      trace_(scheduler_, out_),
      channels_(scheduler_, trace_, station_dir_),
      serial_(trace_, station_dir_),
      link_(trace_),
      dialogs_(trace_, station_dir_),
      launcher_(trace_),
      view_(trace_) {}

ScenarioRunner::~ScenarioRunner() {
    splash_.reset();
    keyer_.reset();
}

std::string ScenarioRunner::path_of(const std::string& name) const {
    return StationAbsolute(station_dir_, name);
}

std::string ScenarioRunner::new_file_path(const std::string& name) const {
    const std::filesystem::path path = path_of(name);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return path.string();
}

int ScenarioRunner::run(std::istream& script) {
    std::string line;
    int line_number = 0;
    while (std::getline(script, line)) {
        ++line_number;
        const int first_line = line_number;
        Words words(line);
        if (words.empty_or_comment()) {
            continue;
        }
        try {
            execute(words, script, line_number);
        } catch (const BadLine& error) {
            out_.flush();
            err_ << "parlomat-sim: line " << first_line << ": " << error.what() << ": " << line
                 << '\n';
            return kBadLine;
        } catch (const Failure& error) {
            out_.flush();
            err_ << "parlomat-sim: line " << first_line << ": " << error.what() << '\n';
            return kFailed;
        }
    }
    out_.flush();
    return kDone;
}

void ScenarioRunner::require_not_started(const char* command) const {
    if (keyer_) {
        throw Failure(std::string(command) + " must come before start");
    }
}

void ScenarioRunner::require_started(const char* command) const {
    if (!keyer_) {
        throw Failure(std::string(command) + " before start");
    }
}

bool ScenarioRunner::main_window_takes_input() const {
    return keyer_ && !view_.ended() &&
           keyer_->state().windows[static_cast<int>(Window::frmMainScreen)] &&
           !keyer_->modal_open();
}

void ScenarioRunner::execute(Words& words, std::istream& script, int& line_number) {
    const std::string command = words.word("command");
    const bool ended = view_.ended();

    if (command == "cat") {
        const std::string name = words.text("file name");
        cmd_cat(name);
    } else if (command == "clock") {
        cmd_clock(words);
    } else if (command == "wave") {
        const std::string name = words.word("file name");
        const auto ms = Integer(words.word("length"), 0, 3'600'000, "length");
        words.done();
        if (!ended && !SimChannels::WriteSilence(new_file_path(name), ms)) {
            throw Failure("cannot write " + name);
        }
    } else if (command == "junk") {
        const std::string name = words.text("file name");
        if (!ended) {
            std::ofstream file(new_file_path(name), std::ios::binary);
            file << "This is not a wave file.\n";
            if (!file) {
                throw Failure("cannot write " + name);
            }
        }
    } else if (command == "write") {
        cmd_write(words, script, line_number);
    } else if (command == "port") {
        const std::string how = words.word("busy, fails or lost");
        words.done();
        if (how == "lost") {
            serial_.lose();
            return;
        }
        if (how != "busy" && how != "fails") {
            throw BadLine("expected busy, fails or lost");
        }
        require_not_started("port");
        serial_.refuse(how == "busy" ? SimSerialPort::Refusal::Busy
                                     : SimSerialPort::Refusal::Fails);
    } else if (command == "link") {
        const std::string how = words.word("status");
        words.done();
        std::optional<long long> status;
        if (how != "fails") {
            status = Integer(how, INT32_MIN, INT32_MAX, "link status");
        }
        require_not_started("link");
        if (status) {
            link_.install(static_cast<std::int32_t>(*status));
        } else {
            link_.install_failing();
        }
    } else if (command == "start") {
        words.done();
        if (!ended) {
            cmd_start();
        }
    } else if (command == "advance") {
        const auto ms = Integer(words.word("time"), 0, INT32_MAX, "time");
        words.done();
        if (!ended) {
            scheduler_.advance(Ms{ms});
        }
    } else if (command == "reply") {
        const std::string answer = words.word("answer");
        words.done();
        MsgReply reply = MsgReply::Ok;
        if (answer == "yes") {
            reply = MsgReply::Yes;
        } else if (answer == "no") {
            reply = MsgReply::No;
        } else if (answer != "ok") {
            throw BadLine("expected yes, no or ok");
        }
        dialogs_.queue_reply(reply);
    } else if (command == "choose") {
        const std::string path = words.text("path");
        dialogs_.queue_choice(path == "cancel" ? std::nullopt : std::optional<std::string>(path));
    } else if (command == "line") {
        const std::string name = words.word("line name");
        const std::string level = words.word("on or off");
        words.done();
        if ((name != "CTS" && name != "DSR") || (level != "on" && level != "off")) {
            throw BadLine("expected CTS or DSR, then on or off");
        }
        (name == "CTS" ? serial_.set_cts(level == "on") : serial_.set_dsr(level == "on"));
    } else if (command == "transmit") {
        const auto state = Integer(words.word("state"), INT32_MIN, INT32_MAX, "transmit state");
        words.done();
        link_.set_transmit_state(static_cast<std::int32_t>(state));
    } else if (command == "audio") {
        const std::string how = words.word("lost or back");
        words.done();
        if (how != "lost" && how != "back") {
            throw BadLine("expected lost or back");
        }
        channels_.set_audio_lost(how == "lost");
    } else if (command == "click") {
        cmd_click(words);
    } else if (command == "set") {
        cmd_set(words);
    } else if (command == "key") {
        cmd_key(words);
    } else if (command == "menu") {
        cmd_menu(words);
    } else if (command == "statusbar") {
        cmd_statusbar(words);
    } else if (command == "dialog") {
        cmd_dialog(words);
    } else if (command == "close") {
        words.done();
        if (!ended) {
            require_started("close");
            if (main_window_takes_input()) {
                keyer_->RequestClose();
            }
        }
    } else if (command == "show") {
        words.done();
        if (!ended) {
            require_started("show");
            cmd_show();
        }
    } else if (command == "lamp") {
        words.done();
        if (!ended) {
            require_started("lamp");
            cmd_lamp();
        }
    } else {
        throw BadLine("unknown command");
    }
}

void ScenarioRunner::cmd_clock(Words& words) {
    const std::string date = words.word("date");
    const std::string time = words.word("time");
    const std::optional<std::string> zone = words.next();
    words.done();
    using namespace std::chrono;
    std::optional<minutes> offset;
    if (zone) {
        if (zone->size() != 6 || ((*zone)[0] != '+' && (*zone)[0] != '-') || (*zone)[3] != ':') {
            throw BadLine("expected a zone such as +01:00 or -05:00");
        }
        const minutes size = hours{Integer(zone->substr(1, 2), 0, 14, "zone hours")} +
                             minutes{Integer(zone->substr(4, 2), 0, 59, "zone minutes")};
        offset = (*zone)[0] == '-' ? -size : size;
    }
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' ||
        (time.size() != 8 && time.size() != 12) || time[2] != ':' || time[5] != ':' ||
        (time.size() == 12 && time[8] != '.')) {
        throw BadLine("expected YYYY-MM-DD HH:MM:SS[.mmm]");
    }
    const year_month_day day{
        year{static_cast<int>(Integer(date.substr(0, 4), 1, 9999, "year"))},
        month{static_cast<unsigned>(Integer(date.substr(5, 2), 1, 12, "month"))},
        std::chrono::day{static_cast<unsigned>(Integer(date.substr(8, 2), 1, 31, "day"))}};
    if (!day.ok()) {
        throw BadLine("no such date");
    }
    const auto at = local_days{day} + hours{Integer(time.substr(0, 2), 0, 23, "hour")} +
                    minutes{Integer(time.substr(3, 2), 0, 59, "minute")} +
                    seconds{Integer(time.substr(6, 2), 0, 59, "second")} +
                    milliseconds{time.size() == 12 ? Integer(time.substr(9, 3), 0, 999, "ms") : 0};
    require_not_started("clock");
    scheduler_.set_local_start(LocalTime{at - scheduler_.now()});
    if (offset) {
        scheduler_.set_zone_offset(*offset);
    }
}

void ScenarioRunner::cmd_write(Words& words, std::istream& script, int& line_number) {
    const std::string name = words.text("file name");
    std::string content;
    std::string line;
    bool closed = false;
    while (std::getline(script, line)) {
        ++line_number;
        Words end_check(line);
        if (end_check.next() == std::optional<std::string>("end") && end_check.at_end()) {
            closed = true;
            break;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        content += line;
        content += '\n';
    }
    if (!closed) {
        throw BadLine("write without end");
    }
    if (view_.ended()) {
        return;
    }
    std::ofstream file(path_of(name), std::ios::binary);
    file << content;
    if (!file) {
        throw Failure("cannot write " + name);
    }
}

void ScenarioRunner::cmd_start() {
    if (keyer_) {
        throw Failure("the program has already started");
    }
    keyer_ = std::make_unique<Keyer>(KeyerPorts{.scheduler = scheduler_,
                                                .mci = channels_,
                                                .SP = serial_,
                                                .link = link_,
                                                .dialogs = dialogs_,
                                                .launcher = launcher_,
                                                .view = view_,
                                                .preferences_view = &view_,
                                                .station_dir = station_dir_,
                                                .files = &files_});
    splash_ = std::make_unique<Splash>(scheduler_, view_, *keyer_);
    splash_->Show();
    splash_->ExitForm();
}

void ScenarioRunner::cmd_click(Words& words) {
    static constexpr std::array<const char*, 10> kClickable = {
        "cmdLoad",  "cmdRecord", "cmdStart", "cmdStop",     "cmdSave",
        "cmdErase", "cmdXmit",   "chkMode",  "chkInterval", "cmdListen"};
    const std::string name = words.word("control");
    std::optional<int> index;
    if (name == "optMessage") {
        index = static_cast<int>(Integer(words.word("option index"), 0, 5, "option index"));
    } else if (name == "chkLoop") {
        index = static_cast<int>(Integer(words.word("loop box"), 1, 6, "loop box"));
    } else if (IndexOf(kClickable, name) < 0) {
        throw BadLine("no such control");
    }
    words.done();
    if (view_.ended()) {
        return;
    }
    require_started("click");
    if (!main_window_takes_input()) {
        return;
    }
    Keyer& keyer = *keyer_;
    const WindowState& state = keyer.state();
    if (name == "optMessage") {
        keyer.optMessage_Click(*index);
    } else if (name == "chkLoop") {
        keyer.chkLoop_Change(*index - 1, state.slots[*index - 1].loop == 0 ? 1 : 0);
    } else if (name == "chkMode") {
        keyer.chkMode_Click(state.checks[static_cast<int>(Check::chkMode)] ? 0 : 1);
    } else if (name == "chkInterval") {
        keyer.chkInterval_Click(state.checks[static_cast<int>(Check::chkInterval)] ? 0 : 1);
    } else if (name == "cmdListen") {
        keyer.cmdListen_Click();
    } else {
        const int button = IndexOf(kButtonNames, name);
        if (!state.buttons[button]) {
            return;
        }
        switch (static_cast<Button>(button)) {
            case Button::cmdLoad:
                keyer.cmdLoad_Click();
                break;
            case Button::cmdRecord:
                keyer.cmdRecord_Click();
                break;
            case Button::cmdStart:
                keyer.cmdStart_Click();
                break;
            case Button::cmdStop:
                keyer.cmdStop_Click();
                break;
            case Button::cmdSave:
                keyer.cmdSave_Click();
                break;
            case Button::cmdErase:
                keyer.cmdErase_Click();
                break;
            case Button::cmdXmit:
                keyer.cmdXmit_Click();
                break;
        }
    }
}

void ScenarioRunner::cmd_set(Words& words) {
    const std::string name = words.word("box");
    if (name == "txtPAM") {
        const int index = static_cast<int>(Integer(words.word("delay box"), 0, 5, "delay box"));
        const std::string text = words.at_end() ? std::string() : words.text("text");
        if (view_.ended()) {
            return;
        }
        require_started("set");
        if (main_window_takes_input()) {
            keyer_->txtPAM_Change(index, text);
        }
    } else if (name == "chkLoop") {
        const int box = static_cast<int>(Integer(words.word("loop box"), 1, 6, "loop box"));
        const int value = static_cast<int>(Integer(words.word("loop value"), 0, 2, "loop value"));
        words.done();
        if (view_.ended()) {
            return;
        }
        require_started("set");
        if (main_window_takes_input()) {
            keyer_->chkLoop_Change(box - 1, value);
        }
    } else if (name == "txtLabel") {
        const int index = static_cast<int>(Integer(words.word("label box"), 0, 5, "label box"));
        const std::string text = words.at_end() ? std::string() : words.text("text");
        if (view_.ended()) {
            return;
        }
        require_started("set");
        if (main_window_takes_input()) {
            keyer_->txtLabel_Change(index, text);
        }
    } else {
        throw BadLine("expected txtPAM, txtLabel or chkLoop");
    }
}

void ScenarioRunner::cmd_key(Words& words) {
    const std::string name = words.word("key");
    const auto code = KeyCode(name);
    if (!code) {
        throw BadLine("no such key");
    }
    int shift = 0;
    while (auto word = words.next()) {
        if (*word == "shift") {
            shift |= kShiftMask;
        } else if (*word == "ctrl") {
            shift |= kCtrlMask;
        } else if (*word == "in" && words.word("txtMessage") == "txtMessage") {
            // The name box with the focus swallows the key after the window has seen it.
            Integer(words.word("name box"), 0, 5, "name box");
            words.done();
            break;
        } else {
            throw BadLine("expected shift, ctrl or in txtMessage I");
        }
    }
    if (view_.ended()) {
        return;
    }
    require_started("key");
    if (main_window_takes_input()) {
        keyer_->Form_KeyDown(*code, shift);
    }
}

void ScenarioRunner::cmd_menu(Words& words) {
    static constexpr std::array<const char*, 4> kMenus = {"File", "Options", "Mixer", "Help"};
    const int menu = IndexOf(kMenus, words.word("menu"));
    if (menu < 0) {
        throw BadLine("no such menu");
    }
    const int item = static_cast<int>(Integer(words.word("item"), -32768, 32767, "menu item"));
    std::optional<int> sub_item;
    if (auto word = words.next()) {
        if (menu != 1 || item != 1) {
            throw BadLine("only Options 1 has a submenu");
        }
        sub_item = static_cast<int>(Integer(*word, -32768, 32767, "submenu item"));
    }
    words.done();
    if (view_.ended()) {
        return;
    }
    require_started("menu");
    if (!main_window_takes_input()) {
        return;
    }
    switch (menu) {
        case 0:
            keyer_->mnuFileItem_Click(item);
            break;
        case 1:
            if (sub_item) {
                keyer_->mnuOptionsTimingItem_Click(*sub_item);
            } else {
                keyer_->mnuOptionsItem_Click(item);
            }
            break;
        case 2:
            keyer_->mnuMixerItem_Click(item);
            break;
        default:
            keyer_->mnuHelpItem_Click(item);
            break;
    }
}

void ScenarioRunner::cmd_statusbar(Words& words) {
    const std::string how = words.word("click or dblclick");
    if (how != "click" && how != "dblclick") {
        throw BadLine("expected click or dblclick");
    }
    if (auto panel = words.next(); panel && IndexOf(kPanelNames, *panel) < 0) {
        throw BadLine("no such panel");
    }
    words.done();
    if (view_.ended()) {
        return;
    }
    require_started("statusbar");
    if (!main_window_takes_input()) {
        return;
    }
    keyer_->StatusBar1_PanelClick();
    if (how == "dblclick" && main_window_takes_input()) {
        keyer_->StatusBar1_PanelDblClick();
    }
}

void ScenarioRunner::cmd_dialog(Words& words) {
    const std::string name = words.word("control");
    const int control = IndexOf(kPrefControlNames, name);
    std::string text;
    const bool settable = (control >= 0 && control <= static_cast<int>(PrefControl::txtRecorder)) ||
                          control == static_cast<int>(PrefControl::txtTXTimeout);
    if (settable) {
        text = words.at_end() ? std::string() : words.text("text");
    } else if (name == "cmdSave" || name == "cmdCancel" || name == "cmdSelectRecorder") {
        words.done();
    } else {
        throw BadLine("no such dialog control");
    }
    if (view_.ended()) {
        return;
    }
    require_started("dialog");
    PreferencesForm* form = keyer_->preferences_form();
    if (form == nullptr || !form->is_open()) {
        return;
    }
    if (control >= 0) {
        form->set_text(static_cast<PrefControl>(control), text);
    } else if (name == "cmdSave") {
        form->cmdSave_Click();
    } else if (name == "cmdCancel") {
        form->cmdCancel_Click();
    } else {
        form->cmdSelectRecorder_Click();
    }
}

void ScenarioRunner::cmd_lamp() {
    static constexpr const char* kColours[] = {"off", "red", "amber"};
    const LampState lamp = keyer_->lamp();
    std::string line = std::string("lamp ") + kColours[static_cast<int>(lamp.colour)] + " " +
                       Trace::quote(lamp.text) + " " + Trace::quote(lamp.countdown) + " " +
                       Trace::quote(lamp.id_text);
    for (int i = 0; i < kSlotCount; ++i) {
        line += " " + Trace::quote(keyer_->SlotLengthText(i));
    }
    trace_.event(line);
}

void ScenarioRunner::cmd_show() {
    const Keyer& keyer = *keyer_;
    const MainScreenFields& fields = keyer.fields();
    const WindowState& state = keyer.state();
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    trace_.event("state");
    const auto item = [this](const std::string& text) { trace_.raw("  " + text); };
    item("ActiveMsg " + std::to_string(fields.ActiveMsg));
    item(std::string("Playing ") + flag(fields.Playing));
    item(std::string("SkedMode ") + flag(fields.SkedMode));
    item(std::string("InXmitPeriod ") + flag(fields.InXmitPeriod));
    item(std::string("PTTKeyed ") + flag(fields.PTTKeyed));
    item(std::string("PTTEnabled ") + flag(fields.PTTEnabled));
    item(std::string("IgnorePTTInt ") + flag(fields.IgnorePTTInt));
    item(std::string("FTLinkActive ") + flag(fields.FTLinkActive));
    item(std::string("XmitOddSegments ") + flag(fields.XmitOddSegments));
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotLook& slot = state.slots[i];
        item("slot " + std::to_string(i) + " name " + Trace::quote(slot.name) + " delay " +
             Trace::quote(slot.delay) + " loop " + std::to_string(slot.loop) + " loaded " +
             flag(fields.MsgLoaded[i]) + " mode " + std::to_string(channels_.ChannelMode(i)));
    }
    for (int i = 0; i < kPanelCount; ++i) {
        item(std::string(kPanelNames[i]) + " " + Trace::quote(state.panels[i]));
    }
    for (int i = 0; i < kButtonCount; ++i) {
        item(std::string(kButtonNames[i]) + (state.buttons[i] ? " enabled" : " disabled"));
    }
    item("gauge " + std::to_string(state.gauge));
    const Preferences& prefs = fields.prefs;
    item("PTTDelay " + NumberText(prefs.PTTDelay));
    item("UTCDiffHours " + NumberText(prefs.UTCDiffHours));
    item("UTCDiffMinutes " + NumberText(prefs.UTCDiffMinutes));
    item("CommPort " + NumberText(prefs.CommPort));
    item("PTTKey " + Trace::quote(prefs.PTTKey));
    item("PTTInt " + Trace::quote(prefs.PTTInt));
    item("Recorder " + Trace::quote(prefs.Recorder));
    item("FTLinkDelay " + NumberText(prefs.FTLinkDelay));
    item("NAMSTiming " + NumberText(prefs.NAMSTiming));
    item("IDInterval " + NumberText(prefs.IDInterval));
}

void ScenarioRunner::cmd_cat(const std::string& name) {
    std::ifstream file(path_of(name), std::ios::binary);
    if (!file) {
        trace_.event("file " + name + " missing");
        return;
    }
    trace_.event("file " + name);
    std::string line;
    while (std::getline(file, line)) {
        trace_.raw("  | " + line);
    }
}

}  // namespace parlomat
