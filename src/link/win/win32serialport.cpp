// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32serialport.h"

#include <QElapsedTimer>
#include <QThread>

#include <windows.h>

namespace {

// Short enough that an answer is seen within a character time or two at
// 19200 baud, long enough to cost nothing.
constexpr int kPollMs = 5;
// A write the line cannot take in this time has met a dead port.
constexpr DWORD kWriteTimeoutMs = 5000;

HANDLE handleOf(void *handle)
{
    return static_cast<HANDLE>(handle);
}

QString systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                                   : QStringLiteral("Windows error %1").arg(code);
    LocalFree(text);
    return message;
}

} // namespace

Win32SerialPort::Win32SerialPort(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &Win32SerialPort::pollDriver);
}

Win32SerialPort::~Win32SerialPort()
{
    close();
}

void Win32SerialPort::setPortName(const QString &name)
{
    m_portName = name;
}

bool Win32SerialPort::open(QIODevice::OpenMode)
{
    if (isOpen())
        return true;
    // The device namespace reaches COM10 and up, which the plain name does not.
    const QString path = m_portName.startsWith(QLatin1String("\\\\.\\"))
                             ? m_portName
                             : QStringLiteral("\\\\.\\") + m_portName;
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        setError(OpenError);
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    COMMTIMEOUTS timeouts{};
    // Reads return at once with what the driver holds.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    bool ready = GetCommState(handle, &dcb);
    if (ready) {
        dcb.BaudRate = Baud19200;
        dcb.ByteSize = Data8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        ready = SetCommState(handle, &dcb) && SetCommTimeouts(handle, &timeouts)
                && PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    }
    if (!ready) {
        setError(OpenError);
        CloseHandle(handle);
        return false;
    }
    m_handle = handle;
    m_received.clear();
    m_poll.start();
    return true;
}

void Win32SerialPort::close()
{
    if (!isOpen())
        return;
    m_poll.stop();
    CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_received.clear();
}

bool Win32SerialPort::setDataTerminalReady(bool set)
{
    return modemLine(set ? SETDTR : CLRDTR);
}

bool Win32SerialPort::setRequestToSend(bool set)
{
    return modemLine(set ? SETRTS : CLRRTS);
}

bool Win32SerialPort::modemLine(unsigned function)
{
    return isOpen() && EscapeCommFunction(handleOf(m_handle), function);
}

void Win32SerialPort::clearError()
{
    m_error = NoError;
    m_errorString.clear();
}

bool Win32SerialPort::clear(Direction)
{
    if (!isOpen())
        return false;
    m_received.clear();
    return PurgeComm(handleOf(m_handle), PURGE_RXCLEAR);
}

QByteArray Win32SerialPort::readAll()
{
    QByteArray data;
    data.swap(m_received);
    if (isOpen() && !readAvailable(data)) {
        m_poll.stop();
        setError(ReadError);
    }
    return data;
}

qint64 Win32SerialPort::write(const QByteArray &data)
{
    DWORD written = 0;
    if (!isOpen() || !WriteFile(handleOf(m_handle), data.constData(), DWORD(data.size()), &written, nullptr)
        || written != DWORD(data.size())) {
        setError(WriteError);
        return -1;
    }
    return qint64(written);
}

bool Win32SerialPort::waitForReadyRead(int msecs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!isOpen())
            return false;
        if (!readAvailable(m_received)) {
            m_poll.stop();
            setError(ResourceError);
            return false;
        }
        if (!m_received.isEmpty())
            return true;
        if (clock.elapsed() >= msecs)
            return false;
        QThread::msleep(kPollMs);
    }
}

bool Win32SerialPort::readAvailable(QByteArray &into)
{
    char chunk[512];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), chunk, sizeof(chunk), &got, nullptr))
            return false;
        if (got == 0)
            return true;
        into.append(chunk, int(got));
    }
}

void Win32SerialPort::pollDriver()
{
    // A vanished adapter fails every read from now on.
    if (!readAvailable(m_received)) {
        m_poll.stop();
        setError(ResourceError);
    }
}

void Win32SerialPort::setError(SerialPortError error)
{
    m_error = error;
    m_errorString = systemMessage(GetLastError());
    emit errorOccurred(error);
}
