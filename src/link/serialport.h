// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The serial port of the platform. On Windows the program drives the port
// with synchronous Win32 calls: QSerialPort's overlapped I/O there never
// completes on some drivers (Wine's among them: open() waits forever), and
// the link only ever polls.
#ifdef Q_OS_WIN
#include "win/win32serialport.h"
using SerialPort = Win32SerialPort;
#else
#include <QSerialPort>
using SerialPort = QSerialPort;
#endif
