#include <cstdint>
#include <fstream>
#include <optional>

#include "sim/scenario_runner.h"

namespace parlomat {

const std::vector<ScenarioRunner::Command>& ScenarioRunner::Commands() {
    using R = ScenarioRunner;
    static const std::vector<Command> commands = {
        {"clock", "DATE TIME[.mmm] [+HH:MM]",
         "the local date-time at 0 and the system's zone (default -05:00)", Gate::BeforeStart,
         &R::parse_clock},
        {"wave", "NAME MS [FROM TO]",
         "writes a wave file NAME playing MS ms, silent but for a tone from FROM to TO ms",
         Gate::Running, &R::parse_wave},
        {"junk", "NAME", "writes a file NAME that is not a wave file", Gate::Running,
         &R::parse_junk},
        {"write", "NAME", "writes the lines up to a line `end` into file NAME", Gate::Running,
         &R::parse_write},
        {"port", "busy|fails|lost",
         "the serial port will refuse to open / the open port disappears (unplugged)",
         Gate::Running, &R::parse_port},
        {"link", "STATUS|fails", "a link server is installed", Gate::BeforeStart, &R::parse_link},
        {"start", "[quiet]",
         "starts the program; quiet leaves the start-up out of the trace (up to the main "
         "window's opening)",
         Gate::Running, &R::parse_start},
        {"advance", "MS", "lets MS ms pass, firing every timer and channel event due",
         Gate::Running, &R::parse_advance},
        {"reply", "yes|no|ok", "answer for the next message box", Gate::Running, &R::parse_reply},
        {"choose", "PATH|cancel", "answer for the next file dialog", Gate::Running,
         &R::parse_choose},
        {"line", "CTS|DSR on|off", "sets a serial input line", Gate::Running, &R::parse_line},
        {"transmit", "N", "the link's transmit state answers N", Gate::Running, &R::parse_transmit},
        {"audio", "lost|back",
         "the sound system goes away (playing channels stop short; open, play and record "
         "fail) / comes back",
         Gate::Running, &R::parse_audio},
        {"click", "CONTROL [I]",
         "clicks a button or check box; optMessage I (0..5), chkLoop N (1..6), cmdListen, "
         "cmdTrim, cmdNormalize, cmdUndo",
         Gate::MainWindow, &R::parse_click},
        {"set", "txtPAM|txtLabel I TEXT, chkLoop N V",
         "types a slot's delay or label (I 0..5) / sets loop box N to V (0..2)", Gate::MainWindow,
         &R::parse_set},
        {"key", "KEY [shift] [ctrl] [in txtMessage I]",
         "a key press on the main window: Esc F1..F12 KeypadPlus Plus A..Z", Gate::MainWindow,
         &R::parse_key},
        {"menu", "File|Options|Mixer|Help I [J]", "chooses item I of a menu (J: of its submenu)",
         Gate::MainWindow, &R::parse_menu},
        {"statusbar", "click|dblclick [PANEL]", "a click or double click on the status bar",
         Gate::MainWindow, &R::parse_statusbar},
        {"dialog", "CONTROL [TEXT]",
         "sets a text of the open preferences dialog, or presses cmdSave, cmdCancel, "
         "cmdSelectRecorder",
         Gate::Started, &R::parse_dialog},
        {"close", "", "a close request (the window's close box)", Gate::MainWindow,
         &R::parse_close},
        {"show", "", "prints a snapshot of the main window's state", Gate::Started, &R::parse_show},
        {"lamp", "", "traces the on-air lamp and each slot's message length", Gate::Started,
         &R::parse_lamp},
        {"cat", "NAME", "prints a file of the station directory, also after the program's end",
         Gate::Always, &R::parse_cat},
    };
    return commands;
}

std::string ScenarioRunner::CommandHelp() {
    std::string help;
    for (const Command& command : Commands()) {
        help += std::string("  ") + command.name;
        if (*command.arguments != '\0') {
            help += std::string(" ") + command.arguments;
        }
        help += std::string("\n      ") + command.help + '\n';
    }
    return help;
}

ScenarioRunner::Action ScenarioRunner::parse_clock(ScriptWords& words) {
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
    return [this, at, offset] {
        scheduler_.set_local_start(LocalTime{at - scheduler_.now()});
        if (offset) {
            scheduler_.set_zone_offset(*offset);
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_wave(ScriptWords& words) {
    const std::string name = words.word("file name");
    const auto ms = Integer(words.word("length"), 0, 3'600'000, "length");
    // Optionally a spoken part: a tone from FROM to TO ms.
    long long from = 0;
    long long to = 0;
    if (!words.at_end()) {
        from = Integer(words.word("sound start"), 0, ms, "sound start");
        to = Integer(words.word("sound end"), from, ms, "sound end");
    }
    return [this, name, ms, from, to] {
        if (!SimChannels::WriteSound(new_file_path(name), ms, from, to)) {
            throw Failure("cannot write " + name);
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_junk(ScriptWords& words) {
    const std::string name = words.text("file name");
    return [this, name] {
        std::ofstream file(new_file_path(name), std::ios::binary);
        file << "This is not a wave file.\n";
        if (!file) {
            throw Failure("cannot write " + name);
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_write(ScriptWords& words) {
    const std::string name = words.text("file name");
    std::string content;
    std::string line;
    while (std::getline(*script_, line)) {
        ++line_number_;
        ScriptWords end_check(line);
        if (end_check.next() == std::optional<std::string>("end") && end_check.at_end()) {
            return [this, name, content] {
                std::ofstream file(path_of(name), std::ios::binary);
                file << content;
                if (!file) {
                    throw Failure("cannot write " + name);
                }
            };
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        content += line;
        content += '\n';
    }
    throw BadLine("write without end");
}

ScenarioRunner::Action ScenarioRunner::parse_port(ScriptWords& words) {
    const std::string how = words.word("busy, fails or lost");
    if (how == "lost") {
        return [this] { serial_.lose(); };
    }
    if (how != "busy" && how != "fails") {
        throw BadLine("expected busy, fails or lost");
    }
    return [this, busy = how == "busy"] {
        require_not_started("port");
        serial_.refuse(busy ? SimSerialPort::Refusal::Busy : SimSerialPort::Refusal::Fails);
    };
}

ScenarioRunner::Action ScenarioRunner::parse_link(ScriptWords& words) {
    const std::string how = words.word("status");
    if (how == "fails") {
        return [this] { link_.install_failing(); };
    }
    const auto status = MonitorStateFromNumber(
        static_cast<std::int32_t>(Integer(how, INT32_MIN, INT32_MAX, "link status")));
    return [this, status] { link_.install(status); };
}

ScenarioRunner::Action ScenarioRunner::parse_start(ScriptWords& words) {
    const auto option = words.next();
    if (option && *option != "quiet") {
        throw BadLine("expected quiet or nothing");
    }
    return [this, quiet = option.has_value()] { start(quiet); };
}

ScenarioRunner::Action ScenarioRunner::parse_advance(ScriptWords& words) {
    const Ms duration{Integer(words.word("time"), 0, INT32_MAX, "time")};
    return [this, duration] { advance(duration); };
}

ScenarioRunner::Action ScenarioRunner::parse_reply(ScriptWords& words) {
    const std::string answer = words.word("answer");
    MsgReply reply = MsgReply::Ok;
    if (answer == "yes") {
        reply = MsgReply::Yes;
    } else if (answer == "no") {
        reply = MsgReply::No;
    } else if (answer != "ok") {
        throw BadLine("expected yes, no or ok");
    }
    return [this, reply] { dialogs_.queue_reply(reply); };
}

ScenarioRunner::Action ScenarioRunner::parse_choose(ScriptWords& words) {
    const std::string path = words.text("path");
    return [this, path] {
        dialogs_.queue_choice(path == "cancel" ? std::nullopt : std::optional<std::string>(path));
    };
}

ScenarioRunner::Action ScenarioRunner::parse_line(ScriptWords& words) {
    const std::string name = words.word("line name");
    const std::string level = words.word("on or off");
    if ((name != "CTS" && name != "DSR") || (level != "on" && level != "off")) {
        throw BadLine("expected CTS or DSR, then on or off");
    }
    return [this, cts = name == "CTS", on = level == "on"] {
        cts ? serial_.set_cts(on) : serial_.set_dsr(on);
    };
}

ScenarioRunner::Action ScenarioRunner::parse_transmit(ScriptWords& words) {
    const auto state = LinkTransmitFromNumber(static_cast<std::int32_t>(
        Integer(words.word("state"), INT32_MIN, INT32_MAX, "transmit state")));
    return [this, state] { link_.set_transmit_state(state); };
}

ScenarioRunner::Action ScenarioRunner::parse_audio(ScriptWords& words) {
    const std::string how = words.word("lost or back");
    if (how != "lost" && how != "back") {
        throw BadLine("expected lost or back");
    }
    return [this, lost = how == "lost"] { channels_.set_audio_lost(lost); };
}

}  // namespace parlomat
