#pragma once

#include <QLoggingCategory>

// One category per subsystem of the station log.
Q_DECLARE_LOGGING_CATEGORY(lcPtt)
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
Q_DECLARE_LOGGING_CATEGORY(lcLink)
