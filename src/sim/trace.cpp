#include "sim/trace.h"

#include <cstdio>

namespace parlomat {

Trace::Trace(const Scheduler& scheduler, std::ostream& out) : scheduler_(scheduler), out_(out) {}

void Trace::event(std::string_view text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8lld ", static_cast<long long>(scheduler_.now().count()));
    out_ << stamp << text << '\n';
}

void Trace::raw(std::string_view text) {
    out_ << text << '\n';
}

std::string Trace::quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            default:
                quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace parlomat
