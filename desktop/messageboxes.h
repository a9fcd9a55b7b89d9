#pragma once

#include "platform/platform.h"

#include <QPointer>
#include <QWidget>

// Message boxes titled with the program title, without an icon, standing over their window.
class QtMessageBoxes : public MessageBoxes {
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    void notice(const QString& text) override;
    bool question(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};
