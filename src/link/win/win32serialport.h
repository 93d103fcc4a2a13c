// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QTimer>

// A COM port through synchronous Win32 I/O, with the part of QSerialPort's
// interface the link uses: the phone's line settings and no other, reads
// that never block, waits that poll the driver, and between them a short
// poll of the driver that reports a port gone.
class Win32SerialPort : public QObject {
    Q_OBJECT
public:
    enum BaudRate { Baud19200 = 19200 };
    enum DataBits { Data8 = 8 };
    enum Parity { NoParity };
    enum StopBits { OneStop };
    enum FlowControl { NoFlowControl };
    enum Direction { Input = 1 };
    enum SerialPortError { NoError, OpenError, WriteError, ReadError, ResourceError };

    explicit Win32SerialPort(QObject *parent = nullptr);
    ~Win32SerialPort() override;

    // "COM1" … "COM10" and up, or a full device path ("\\.\COM12").
    void setPortName(const QString &name);
    // Each setting has the one value the phone's line uses, which open()
    // applies.
    bool setBaudRate(BaudRate) { return true; }
    bool setDataBits(DataBits) { return true; }
    bool setParity(Parity) { return true; }
    bool setStopBits(StopBits) { return true; }
    bool setFlowControl(FlowControl) { return true; }

    // Opens the port at 19200 baud, 8N1, no flow control. The mode is
    // always read and write.
    bool open(QIODevice::OpenMode mode);
    void close();
    bool isOpen() const { return m_handle != nullptr; }

    bool setDataTerminalReady(bool set);
    bool setRequestToSend(bool set);
    void clearError();
    SerialPortError error() const { return m_error; }
    QString errorString() const { return m_errorString; }

    // Drops what the driver and this object hold of the incoming data.
    bool clear(Direction direction);
    QByteArray readAll();
    // Blocks until the driver has taken the data; -1 on failure.
    qint64 write(const QByteArray &data);
    // Writes are never held back here, so there is nothing to wait for.
    bool waitForBytesWritten(int) { return isOpen(); }
    // Waits up to msecs for data the driver has; false when none came or
    // the port failed.
    bool waitForReadyRead(int msecs);

signals:
    void errorOccurred(Win32SerialPort::SerialPortError error);

private:
    bool modemLine(unsigned function);
    // What the driver holds now, without waiting; false when the port failed.
    bool readAvailable(QByteArray &into);
    void pollDriver();
    void setError(SerialPortError error);

    QString m_portName;
    void *m_handle = nullptr;
    QByteArray m_received;
    SerialPortError m_error = NoError;
    QString m_errorString;
    QTimer m_poll;
};
