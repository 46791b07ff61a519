#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

#include "core/audio/open_failure.h"
#include "core/audio/sample_edits.h"
#include "core/runtime/scheduler.h"

namespace parlomat {

/// What a channel is doing. The values are the mode numbers the keyer shows and compares.
enum class ChannelState : std::int32_t {
    NotOpen = 524,
    Stopped = 525,
    Playing = 526,
    Recording = 527,
    Seeking = 528,
    Paused = 529,
    Ready = 530,
};

/// The channel states by their short names.
namespace mode {
inline constexpr ChannelState kNotOpen = ChannelState::NotOpen;
inline constexpr ChannelState kStopped = ChannelState::Stopped;
inline constexpr ChannelState kPlaying = ChannelState::Playing;
inline constexpr ChannelState kRecording = ChannelState::Recording;
inline constexpr ChannelState kSeeking = ChannelState::Seeking;
inline constexpr ChannelState kPaused = ChannelState::Paused;
inline constexpr ChannelState kReady = ChannelState::Ready;
}  // namespace mode

/// The level of the audio a channel played or recorded in its latest audio period, in dBFS
/// (0 = full scale; minus infinity = silence, or nothing running).
struct ChannelLevel {
    float peak_dbfs = -std::numeric_limits<float>::infinity();
    float rms_dbfs = -std::numeric_limits<float>::infinity();
};

/// Receives the channels' periodic progress notification, on the UI thread.
class ChannelListener {
  public:
    virtual ~ChannelListener() = default;
    /// Raised for channel `index` every update interval while that interval is not 0.
    virtual void mci_StatusUpdate(int index) = 0;
};

/// The six wave channels, one per message slot (index 0..5). No operation reports an error to
/// the keyer except SaveChannel: callers test ChannelMode (kNotOpen = nothing open).
/// Positions and lengths are in milliseconds.
class WaveChannels {
  public:
    static constexpr int kCount = 6;

    virtual ~WaveChannels() = default;

    virtual void set_listener(ChannelListener* listener) = 0;
    /// Every channel: positions in ms and a status update every 50 ms.
    virtual void PrepareChannels() = 0;
    /// Opens the file at `path`; mode kStopped on success, stays kNotOpen on failure.
    virtual void OpenChannel(int i, const std::string& path) = 0;
    /// Why channel `i`'s last OpenChannel failed; None after one that succeeded.
    virtual OpenFailure LastOpenFailure(int i) const = 0;
    /// Closes the open file (an unsaved recording is lost); mode kNotOpen.
    virtual void CloseChannel(int i) = 0;
    virtual ChannelState ChannelMode(int i) const = 0;
    /// Length of the open file in ms (0 when nothing is open).
    virtual std::int32_t ChannelLength(int i) const = 0;
    /// Play or record position in ms.
    virtual std::int32_t ChannelPosition(int i) const = 0;
    /// Period of mci_StatusUpdate in ms; 0 stops the notifications.
    virtual void SetUpdateInterval(int i, std::int16_t ms) = 0;
    /// Plays the whole file from its start; kPlaying, then kStopped once the last sample has
    /// been heard. Does nothing when nothing is open.
    virtual void PlayFromStart(int i) = 0;
    /// Stops playing or recording; the file stays open (kStopped).
    virtual void StopChannel(int i) = 0;
    /// Records from the sound card's input over the open file from position 0 (kRecording).
    virtual void RecordChannel(int i) = 0;
    /// Writes the channel's present content to `path`, which it keeps open. False when the file
    /// could not be written.
    virtual bool SaveChannel(int i, const std::string& path) = 0;
    /// Writes an empty 16-bit PCM mono wave file at `path` (the recording work file). False when
    /// it could not be written.
    virtual bool CreateEmptyWave(const std::string& path) = 0;
    /// The level meter's reading for channel `i` while it plays or records; silence otherwise
    /// and where a back end has no meter.
    virtual ChannelLevel Level(int /*i*/) const { return {}; }
    /// Applies `edit` to the content of channel `i`, which must be open and stopped, and keeps
    /// the content before it for UndoEdit. False, with nothing changed, when the channel is not
    /// so or the edit is refused (ApplyEdit). Open, record, save and close forget every edit.
    virtual bool EditChannel(int /*i*/, SampleEdit /*edit*/) { return false; }
    /// Gives channel `i` back its content before the latest edit not yet undone; false when
    /// there is none (or the channel plays or records).
    virtual bool UndoEdit(int /*i*/) { return false; }
    /// Channel `i` holds an edit that UndoEdit can take back.
    virtual bool CanUndoEdit(int /*i*/) const { return false; }
    /// A key-down happened: a play may follow within the PTT delay. A back end that suspends
    /// its sound device while idle starts it again now.
    virtual void Wake() {}
    /// The next PlayFromStart(i) is due at monotonic time `due` (the Scheduler's clock): its first
    /// sample should reach the DAC then, never earlier, and as soon as it can when `due` is too
    /// close. A hint: modes, positions and notifications do not change; a back end without a
    /// DAC clock ignores it.
    virtual void ScheduleStart(int /*i*/, Ms /*due*/) {}
    /// A back end that lets its sound device go after a time with nothing played or recorded
    /// uses `idle` (s; 0: never) from now on.
    virtual void SetIdleStop(std::chrono::seconds /*idle*/) {}
};

}  // namespace parlomat
