#pragma once

#include <QUuid>

#include <array>

namespace Hardware::InterfaceClasses {

// The device-interface classes the widget manager scans, in scanning order.
const std::array<QUuid, 10>& All();

// Position of a class in All(), or -1.
int IndexOf(const QUuid& interfaceClass);

// "5621b03d-10b4-4624-9a0c-1d4a87217b1d": lower case without braces.
QString Text(const QUuid& interfaceClass);

}  // namespace Hardware::InterfaceClasses
