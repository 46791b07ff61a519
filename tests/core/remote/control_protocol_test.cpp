#include "core/remote/control_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parlomat {
namespace {

const auto Error = [](ControlError error) { return "ERR " + std::string(ControlErrorText(error)); };

TEST(ControlProtocol, LinesBecomeRequestsOrErrors) {
    const char* kinds[] = {"play", "stop", "status", "raise"};  // in Kind's order
    const std::pair<std::string, std::string> rows[] = {
        {"  Play\t4  \r", "play 4"},
        {"PLAY 0", "ERR slot must be 1..6"},
        {"PLAY x", "ERR slot must be 1..6"},
        {"STOP", "stop 0"},
        {"STOP now", "ERR unknown command"},
        {"status", "status 0"},
        {"RAISE", "raise 0"},
        {"", "ERR unknown command"},
        {"PLAY1", "ERR unknown command"},
    };
    for (const auto& [line, expected] : rows) {
        const auto parsed = ParseControlLine(line);
        const auto* request = std::get_if<ControlRequest>(&parsed);
        EXPECT_EQ(
            request ? kinds[static_cast<int>(request->kind)] + (" " + std::to_string(request->slot))
                    : Error(std::get<ControlError>(parsed)),
            expected)
            << line;
    }
}

TEST(ControlProtocol, ReaderCutsLinesAndStopsAtBadInput) {
    using namespace std::string_literals;
    const std::string limit(ControlLineReader::kMaxLine, 'A');
    const struct {
        std::vector<std::string> chunks;
        std::vector<std::string> expected;  ///< "|": nothing yet
    } rows[] = {{{"PLAY 1\nSTOP\n"}, {"PLAY 1", "STOP", "|"}},
                {{"STA", "TUS\n"}, {"|", "STATUS", "|"}},
                {{limit + "\n"}, {limit, "|"}},
                {{limit, "B", "STOP\n"}, {"|", "ERR line too long", "|", "|"}},
                {{"STOP\n\0"s, "STOP\n"}, {"STOP", "ERR NUL byte", "|", "|"}}};
    for (const auto& row : rows) {
        ControlLineReader reader;
        std::vector<std::string> out;
        for (const auto& chunk : row.chunks) {
            reader.feed(chunk);
            for (auto next = reader.next();; next = reader.next()) {
                if (const auto* line = std::get_if<std::string>(&next)) {
                    out.push_back(*line);
                } else if (const auto* error = std::get_if<ControlError>(&next)) {
                    out.push_back(Error(*error));
                } else {
                    out.push_back("|");
                    break;
                }
            }
        }
        EXPECT_EQ(out, row.expected) << row.chunks[0].substr(0, 20);
    }
}

TEST(ControlProtocol, StatusIsOneLineOfJsonWithEscapedTexts) {
    const ControlStatus status{3, true, true, "say \"hi\"\\\n", "Sked", false, true, true};
    EXPECT_EQ(
        FormatControlStatus(status),
        "{\"slot\":3,\"playing\":true,\"ptt\":true,\"feedback\":\"say \\\"hi\\\"\\\\\\u000a\","
        "\"mode\":\"Sked\",\"sked\":false,\"loop\":true,\"ready\":true}");
}

}  // namespace
}  // namespace parlomat
