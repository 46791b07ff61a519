#include "core/remote/control_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parlomat {
namespace {

/// A request or an error as text, for one table column.
std::string Describe(const std::variant<ControlRequest, ControlError>& parsed) {
    if (const auto* error = std::get_if<ControlError>(&parsed)) {
        return "ERR " + std::string(ControlErrorText(*error));
    }
    const auto& request = std::get<ControlRequest>(parsed);
    switch (request.kind) {
        case ControlRequest::Kind::Play:
            return "play " + std::to_string(request.slot);
        case ControlRequest::Kind::Stop:
            return "stop";
        case ControlRequest::Kind::Status:
            return "status";
        case ControlRequest::Kind::Raise:
            return "raise";
    }
    return "?";
}

TEST(ControlProtocol, LinesBecomeRequestsOrErrors) {
    const struct {
        std::string line;
        std::string expected;
    } rows[] = {
        {"PLAY 1", "play 1"},
        {"play 3", "play 3"},
        {"  Play\t4  \r", "play 4"},
        {"PLAY 0", "ERR slot must be 1..6"},
        {"PLAY 7", "ERR slot must be 1..6"},
        {"PLAY x", "ERR slot must be 1..6"},
        {"PLAY 1 2", "ERR slot must be 1..6"},
        {"STOP", "stop"},
        {"STOP now", "ERR unknown command"},
        {"STATUS", "status"},
        {"RAISE", "raise"},
        {"", "ERR unknown command"},
        {"PLAY1", "ERR unknown command"},
        {"\x01\xff", "ERR unknown command"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Describe(ParseControlLine(row.line)), row.expected) << "line: " << row.line;
    }
}

/// Everything the reader hands out after the chunks, in order; "|" marks "nothing yet".
std::vector<std::string> ReadAll(const std::vector<std::string>& chunks) {
    ControlLineReader reader;
    std::vector<std::string> out;
    for (const auto& chunk : chunks) {
        reader.feed(chunk);
        for (;;) {
            const auto next = reader.next();
            if (const auto* line = std::get_if<std::string>(&next)) {
                out.push_back(*line);
            } else if (const auto* error = std::get_if<ControlError>(&next)) {
                out.push_back("ERR " + std::string(ControlErrorText(*error)));
            } else {
                out.push_back("|");
                break;
            }
        }
    }
    return out;
}

TEST(ControlProtocol, ReaderCutsLinesAndStopsAtBadInput) {
    using namespace std::string_literals;
    const std::string limit(ControlLineReader::kMaxLine, 'A');
    const struct {
        const char* name;
        std::vector<std::string> chunks;
        std::vector<std::string> expected;
    } rows[] = {
        {"two lines in one chunk", {"PLAY 1\nSTOP\n"}, {"PLAY 1", "STOP", "|"}},
        {"a line over two chunks", {"STA", "TUS\n"}, {"|", "STATUS", "|"}},
        {"a line at the limit", {limit + "\n"}, {limit, "|"}},
        {"a line over the limit, no line feed", {limit + "B"}, {"ERR line too long", "|"}},
        {"a long line fed in pieces", {limit, "B", "STOP\n"}, {"|", "ERR line too long", "|", "|"}},
        {"a NUL byte", {"PL\0AY 1\n"s}, {"ERR NUL byte", "|"}},
        {"nothing after a NUL", {"STOP\n\0"s, "STOP\n"}, {"STOP", "ERR NUL byte", "|", "|"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadAll(row.chunks), row.expected) << row.name;
    }
}

TEST(ControlProtocol, StatusIsOneLineOfJsonWithEscapedTexts) {
    ControlStatus status;
    status.slot = 3;
    status.playing = true;
    status.ptt = true;
    status.feedback = "say \"hi\"\\\n";
    status.mode = "Sked";
    status.loop = true;
    status.ready = true;
    EXPECT_EQ(
        FormatControlStatus(status),
        "{\"slot\":3,\"playing\":true,\"ptt\":true,\"feedback\":\"say \\\"hi\\\"\\\\\\u000a\","
        "\"mode\":\"Sked\",\"sked\":false,\"loop\":true,\"ready\":true}");
}

}  // namespace
}  // namespace parlomat
