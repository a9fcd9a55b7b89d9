#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// While it lives, SIGTERM, SIGINT and SIGHUP call `end` from the event loop instead of ending
// Tallowick on the spot, so that the window can end what it runs for itself (an "Update systems"
// run and its temporary file) as its close box does. The handlers before it come back when it
// goes. One at a time.
class EndOnSignals : public QObject {
public:
    explicit EndOnSignals(std::function<void()> end);
    ~EndOnSignals() override;

private:
    std::function<void()> m_end;
    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
