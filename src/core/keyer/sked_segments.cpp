#include "core/keyer/sked_segments.h"

namespace parlomat {

namespace {

std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
    if (text.size() < at + 2) {
        return std::nullopt;
    }
    const char tens = text[at];
    const char ones = text[at + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') {
        return std::nullopt;
    }
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

std::optional<bool> IsTransmitSegment(std::string_view clock_text, std::int16_t NAMSTiming,
                                      bool XmitOddSegments) {
    const auto minute = TwoDigits(clock_text, 3);
    const auto second = TwoDigits(clock_text, 6);
    if (clock_text.size() != 8 || !minute || !second) {
        return std::nullopt;
    }
    const int m = *minute;
    const int s = *second;
    bool odd = false;
    switch (NAMSTiming) {
        case 1:
            odd = s < 15 || (s >= 30 && s < 45);
            break;
        case 2:
            odd = s < 30;
            break;
        case 3:
            odd = m % 2 == 1;
            break;
        case 4:
            odd = (m / 2) % 2 == 0;
            break;
        default:
            return std::nullopt;
    }
    return odd == XmitOddSegments;
}

std::optional<int> SegmentSecondsLeft(std::string_view clock_text, std::int16_t NAMSTiming) {
    const auto minute = TwoDigits(clock_text, 3);
    const auto second = TwoDigits(clock_text, 6);
    if (clock_text.size() != 8 || !minute || !second) {
        return std::nullopt;
    }
    switch (NAMSTiming) {
        case 1:
            return 15 - *second % 15;
        case 2:
            return 30 - *second % 30;
        case 3:
            return 60 - *second;
        case 4:
            return 120 - (*minute % 2 * 60 + *second);
        default:
            return std::nullopt;
    }
}

}  // namespace parlomat
