#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sim/sim_station.h"

namespace parlomat::test {

/// The station log's entries as text: "down start 1", "up stop 1", "timeout 20".
class RecordingLog final : public EventLog {
  public:
    void KeyChange(bool down, KeyCause cause, int slot, bool) override {
        entries.push_back(std::string(down ? "down " : "up ") + KeyCauseText(cause) + " " +
                          std::to_string(slot));
    }
    void TxTimedOut(int seconds) override {
        entries.push_back("timeout " + std::to_string(seconds));
    }
    std::vector<std::string> entries;
};

/// `station` started up to its main window.
inline SimStation& Started(SimStation& station, SimStation::Options options = {}) {
    station.start(std::move(options));
    station.scheduler.advance(Ms{10});
    return station;
}

}  // namespace parlomat::test
