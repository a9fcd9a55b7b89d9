#pragma once

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <functional>

// Calls `act` once, with the progress dialog, as soon as one is the active modal window: a test
// can answer the dialog a blocking call shows while that call waits.
inline void whenProgressShows(QTimer& poll, std::function<void(QProgressDialog*)> act) {
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, act = std::move(act)] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        act(dialog);
    });
    poll.start();
}
