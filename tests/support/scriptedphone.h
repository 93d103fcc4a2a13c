#pragma once

#include "pseudoterminal.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// The phone's end of a pseudo-terminal, answering each frame it receives
// (the bytes up to a CR) as its responder says. Runs on the test's event
// loop, so it answers while the link waits.
class ScriptedPhone : public QObject {
    Q_OBJECT
public:
    using Responder = std::function<void(const QByteArray &frame)>;

    ScriptedPhone();
    ~ScriptedPhone() override;

    bool start();
    QString device() const { return m_pty.slavePath(); }

    // Without a responder the phone stays silent.
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    void answerEachWith(const QByteArray &answer);

    void send(const QByteArray &bytes);
    void sendLater(int ms, const QByteArray &bytes);
    // Drops the line, as when the cable is pulled.
    void hangUp();

    // Everything received so far, and the same cut into frames, CR kept.
    QByteArray received();
    QList<QByteArray> frames();

private:
    void readFrames();

    PseudoTerminal m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Responder m_responder;
    QByteArray m_received;
    QByteArray m_partial;
    QList<QByteArray> m_frames;
};
