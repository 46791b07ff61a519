#include "platform/log_categories.h"

// Debug messages (the sound libraries' own chatter) are off unless --verbose turns them on.
Q_LOGGING_CATEGORY(lcPtt, "parlomat.ptt", QtInfoMsg)
Q_LOGGING_CATEGORY(lcAudio, "parlomat.audio", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSerial, "parlomat.serial", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLink, "parlomat.link", QtInfoMsg)
