// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where udev keeps a link named after each USB serial device (maker, model,
// serial number, interface): a name that tells one adapter from another,
// unlike ttyUSB0, which changes with the order they were plugged in.
inline const QString kSerialByIdFolder = QStringLiteral("/dev/serial/by-id");

// The name of the link in folder that leads to device, so that the user
// can tell what is behind a port; empty when none does (no such folder,
// a device that is not USB, a device that does not exist).
QString serialByIdName(const QString &device, const QString &folder = kSerialByIdFolder);
