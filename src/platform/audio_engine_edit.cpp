// AudioEngine: Trim and Normalize on a channel's decoded message, undoable until saved.
#include "platform/audio_engine.h"

#include "core/audio/sample_edits.h"
#include "platform/wave_file.h"

namespace parlomat {

bool AudioEngine::editable(int i) {
    if (!valid(i) || !channel(i).open) {
        return false;
    }
    wait_for_decode(i);
    settle(i);
    const Channel& c = channel(i);
    return c.open && c.play_buffer && c.activity == Activity::Idle && !c.scheduled && has_output();
}

void AudioEngine::replace_content(int i, std::shared_ptr<const std::vector<std::int16_t>> content) {
    Channel& c = channel(i);
    // The mixer may still hold the ended play's samples: they are retired, not freed.
    release_from_mixer(c, i);
    c.play_buffer = std::move(content);
    c.position_ms = 0;
}

bool AudioEngine::EditChannel(int i, SampleEdit edit) {
    if (!editable(i)) {
        return false;
    }
    Channel& c = channel(i);
    std::optional<std::vector<float>> edited =
        ApplyEdit(edit, ToFloat(*c.play_buffer), output_->rate());
    if (!edited) {
        return false;
    }
    c.undo.push_back(c.play_buffer);
    replace_content(i, std::make_shared<const std::vector<std::int16_t>>(ToPcm16(*edited)));
    return true;
}

bool AudioEngine::UndoEdit(int i) {
    if (!editable(i) || channel(i).undo.empty()) {
        return false;
    }
    Channel& c = channel(i);
    auto previous = std::move(c.undo.back());
    c.undo.pop_back();
    replace_content(i, std::move(previous));
    return true;
}

}  // namespace parlomat
