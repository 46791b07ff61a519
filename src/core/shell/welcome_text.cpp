#include "core/shell/welcome_text.h"

namespace parlomat {

std::string WelcomeText(const std::string& station_dir) {
    return "Parlomat keeps its settings, its recordings and, by convention, your message files "
           "in the station directory:\n\n    " +
           station_dir +
           "\n\nBefore the first transmission:\n"
           "  \u2022 choose the sound devices in File > Preferences > Audio;\n"
           "  \u2022 choose the serial port and the PTT line (DTR or RTS) in File > Preferences "
           "> Comm, or the rig's own PTT in the Rig tab;\n"
           "  \u2022 set the PTT delay your transmitter needs in File > Preferences > Misc.\n\n"
           "Then fill a slot with Record or Load. Record message 1 now?";
}

}  // namespace parlomat
