#include "core/audio/open_failure.h"

namespace parlomat {

std::string_view OpenFailureText(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::None:
            return "";
        case OpenFailure::NotFound:
            return "not found in the station directory";
        case OpenFailure::Unreadable:
            return "unreadable";
        case OpenFailure::NotSound:
            return "not a sound file";
        case OpenFailure::TooLong:
            return "longer than 5 minutes";
        case OpenFailure::NoDevice:
            return "no sound device";
    }
    return "";
}

}  // namespace parlomat
