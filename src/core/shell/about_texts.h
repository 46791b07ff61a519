#pragma once

#include <array>
#include <string>
#include <string_view>

namespace parlomat {

/// The program's title, used as the title of its message boxes.
inline constexpr std::string_view kProductName = "Parlomat";

/// "Version " + major.minor.revision of this build.
std::string VersionText();

/// frmSplash: the two lines under the version, and the tool tip of its frame and name label.
inline constexpr std::string_view kSplashPlatformLine = "for Linux";
inline constexpr std::string_view kSplashTagLine =
    "Computer Controlled Digital Voice Keying Made Easy";
inline constexpr std::string_view kSplashToolTip = "Click here to start Parlomat";

/// frmAbout.
std::string AboutCaption();
inline constexpr std::string_view kAboutDescription =
    "Parlomat provides voice keyer functionality from any sound card equipped PC running "
    "Linux.";
inline constexpr std::string_view kAboutDisclaimer =
    "This program is provided as is, without warranty of any kind, express or implied. You "
    "use it at your own risk: the authors are not liable for any damage to equipment, loss "
    "of data or other harm arising from its use. Make sure your station is operated in "
    "accordance with the rules of your licence.";

/// frmAboutKeys: the caption, and the key list line by line (two lines are empty).
inline constexpr std::string_view kAboutKeysCaption = "Special Function Keys";
inline constexpr std::array<std::string_view, 12> kKeyboardHelpLines = {
    "ESC   Same as STOP button",
    "KP+   Same as START button",
    "",
    "F1    Send MSG1",
    "F2    Send MSG2",
    "F3    Send MSG3",
    "F4    Send MSG4",
    "F5    Send MSG5",
    "F6    Send MSG6",
    "F12   Same as START button",
    "",
    "KP = KeyPad",
};

/// The text of lblKeys: every line of kKeyboardHelpLines ended by a line feed.
std::string KeyboardHelpText();

}  // namespace parlomat
