#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <vector>

class QWidget;

// The values of one figure over several runs.
class Samples {
public:
    void add(double value) { m_values.push_back(value); }
    bool empty() const { return m_values.empty(); }
    double median() const;
    double min() const;
    double max() const;

private:
    std::vector<double> m_values;
};

template <typename Work> double millisecondsOf(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until what was posted has happened: a view lays itself out from a zero
// timer after a reset or an insertion, and repaints from a posted update request.
void settle();

// Shows the window and returns once it is exposed and has painted.
void showAndWaitExposed(QWidget& window);

// The process's peak resident memory so far (VmHWM), in KiB; -1 when unknown.
long peakResidentKiB();

// Counts the paint events a widget gets, to make sure a measurement covered the repaint.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget);
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_count = 0;
};
