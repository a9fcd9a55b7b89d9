#pragma once

#include <QCheckBox>

// A check box that a stored value may show grey, but that a click only ever checks or unchecks:
// grey is a state the user is given, never one a click chooses.
class TwoStateCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};
