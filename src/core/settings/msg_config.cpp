#include "core/settings/msg_config.h"

#include "core/settings/numbers.h"
#include "core/settings/text.h"

namespace parlomat {
namespace {

constexpr std::string_view kEmptyName = "EMPTY";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The whole text is one decimal number: sign, digits, optional fraction, optional exponent.
bool IsNumberText(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponent_digits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponent_digits;
        }
        if (exponent_digits == 0) {
            return false;
        }
    }
    return i == text.size();
}

std::string Key(const char* stem, int slot) {
    return stem + std::to_string(slot + 1);
}

}  // namespace

bool LoopLiteral(std::string_view text) {
    const auto value = TrimBlanks(text);
    if (EqualsNoCase(value, "True")) {
        return true;
    }
    if (IsNumberText(value)) {
        return LeadingNumber(value) != 0;
    }
    return false;
}

std::string DelayTextToWrite(std::string_view delay) {
    return LeadingNumber(delay) > 0 ? ProfileValueText(delay) : std::string("0");
}

std::string ProfileValueText(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            value += ' ';
        } else if (c != '\0') {
            value += c;
        }
    }
    return value;
}

MsgConfig ReadMsgConfigSection(const std::string& path) {
    return ReadMsgConfigSection(ProfileDocument::Read(path));
}

MsgConfig ReadMsgConfigSection(const ProfileDocument& file) {
    MsgConfig config;
    for (int i = 0; i < kMsgConfigSlots; ++i) {
        auto& slot = config[i];
        slot.name = file.Get(kMsgConfigSection, Key("MSG", i), kEmptyName);
        if (slot.name == kEmptyName) {
            slot.name.clear();
        }
        slot.delay = file.Get(kMsgConfigSection, Key("Delay", i), "");
        slot.loop = LoopLiteral(file.Get(kMsgConfigSection, Key("Loop", i), ""));
        slot.label = file.Get(kMsgConfigSection, Key("Label", i), "");
    }
    return config;
}

bool WriteMsgConfigSection(const std::string& path, const MsgConfig& config) {
    ProfileDocument file = ProfileDocument::Read(path);
    const bool all_set = file.readable() && WriteMsgConfigSection(file, config);
    return file.Save(path) && all_set;
}

bool WriteMsgConfigSection(ProfileDocument& file, const MsgConfig& config) {
    bool all_set = true;
    for (int i = 0; i < kMsgConfigSlots; ++i) {
        const auto& slot = config[i];
        all_set &= file.Set(kMsgConfigSection, Key("MSG", i), ProfileValueText(slot.name));
        all_set &= file.Set(kMsgConfigSection, Key("Delay", i), DelayTextToWrite(slot.delay));
        all_set &= file.Set(kMsgConfigSection, Key("Loop", i), slot.loop ? "True" : "False");
        if (!slot.label.empty() || file.Has(kMsgConfigSection, Key("Label", i))) {
            all_set &= file.Set(kMsgConfigSection, Key("Label", i), ProfileValueText(slot.label));
        }
    }
    return all_set;
}

}  // namespace parlomat
