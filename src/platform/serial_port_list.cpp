#include "platform/serial_port_list.h"

#include <algorithm>
#include <map>

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace parlomat {

std::vector<DetectedSerialPort> DetectSerialPorts(const std::string& by_id_dir) {
    std::map<std::string, DetectedSerialPort> by_device;
    for (const auto& info : QSerialPortInfo::availablePorts()) {
        DetectedSerialPort port;
        port.device = info.systemLocation().toStdString();
        port.path = port.device;
        port.description = info.description().toStdString();
        by_device.emplace(port.device, port);
    }

    const QDir links(QString::fromStdString(by_id_dir));
    for (const auto& link :
         links.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (!link.isSymLink() || target.isEmpty()) {
            continue;
        }
        auto& port = by_device[target.toStdString()];
        port.device = target.toStdString();
        port.path = link.absoluteFilePath().toStdString();
    }

    std::vector<DetectedSerialPort> ports;
    ports.reserve(by_device.size());
    for (auto& [device, port] : by_device) {
        ports.push_back(std::move(port));
    }
    return ports;
}

}  // namespace parlomat
