#include "sim/sim_dialogs.h"

#include <cstdio>
#include <utility>

#include "sim/station_paths.h"

namespace parlomat {

namespace {

const char* IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return "critical";
        case MsgIcon::Exclamation:
            return "exclamation";
        case MsgIcon::Information:
            return "information";
        case MsgIcon::None:
            break;
    }
    return "none";
}

const char* ReplyName(MsgReply reply) {
    switch (reply) {
        case MsgReply::Yes:
            return "yes";
        case MsgReply::No:
            return "no";
        case MsgReply::Ok:
            break;
    }
    return "ok";
}

}  // namespace

SimDialogs::SimDialogs(Trace& trace, std::string station_dir)
    : trace_(trace), station_dir_(std::move(station_dir)) {}

MsgReply SimDialogs::message_box(MsgIcon icon, const std::string& title, const std::string& text,
                                 MsgButtons buttons) {
    std::optional<MsgReply> queued;
    if (!replies_.empty()) {
        queued = replies_.front();
        replies_.pop_front();
    }
    MsgReply reply = MsgReply::Ok;
    if (buttons == MsgButtons::YesNo) {
        reply = queued == MsgReply::No ? MsgReply::No : MsgReply::Yes;
    }
    trace_.event(std::string("msgbox ") + IconName(icon) + " " + Trace::quote(title) + " " +
                 Trace::quote(text) + (buttons == MsgButtons::YesNo ? " yesno" : " ok") + " -> " +
                 ReplyName(reply));
    return reply;
}

std::optional<std::string> SimDialogs::file_dialog(const FileDialogRequest& request) {
    std::optional<std::string> choice;
    if (!choices_.empty()) {
        choice = std::move(choices_.front());
        choices_.pop_front();
    }
    trace_.event(std::string("filedialog ") +
                 (request.kind == FileDialogRequest::Kind::Save ? "save " : "open ") +
                 Trace::quote(request.title) + " " +
                 Trace::quote(FileFiltersText(request.filters)) + " -> " +
                 (choice ? StationRelative(station_dir_, *choice) : std::string("cancel")));
    return choice;
}

void SimDialogs::beep(BeepSound sound) {
    char text[32];
    std::snprintf(text, sizeof text, "beep 0x%02x", static_cast<unsigned>(sound));
    trace_.event(text);
}

void SimDialogs::queue_choice(std::optional<std::string> path) {
    if (path) {
        path = StationAbsolute(station_dir_, *path);
    }
    choices_.push_back(std::move(path));
}

}  // namespace parlomat
