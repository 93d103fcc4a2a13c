// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonelink.h"
#include "phoneworker.h"

#include <QEventLoop>
#include <QObject>

#include <functional>
#include <optional>

// Runs job on the phone's thread, as the session runs an operation, and
// waits here for its result: the hop there and back is part of the time.
template <typename Result>
Result onWorker(PhoneWorker &worker, std::function<Result(PhoneLink &)> job)
{
    QObject context;
    QEventLoop wait;
    std::optional<Result> result;
    worker.run<Result>(&context, std::move(job), [&](const Result &done) {
        result = done;
        wait.quit();
    });
    wait.exec();
    return *result;
}

// job with every frame the link sends handed to sent, on the phone's
// thread, as it goes out.
template <typename Result>
std::function<Result(PhoneLink &)> recordingFrames(std::function<Result(PhoneLink &)> job,
                                                   std::function<void(const QByteArray &)> sent)
{
    return [job = std::move(job), sent = std::move(sent)](PhoneLink &link) {
        const QMetaObject::Connection recording =
            QObject::connect(&link, &PhoneLink::frameSent, &link, sent, Qt::DirectConnection);
        Result result = job(link);
        QObject::disconnect(recording);
        return result;
    };
}
