#pragma once

#include "mainwindow/form1.h"
#include "tests/support/testplatform.h"

#include <QPair>
#include <memory>

using SystemEntry = QPair<QString, QString>; // short name, description

// A listing in the emulator's old layout: a header, then `%-10s"%s"` lines ended by CR LF.
inline QByteArray oldLayoutListing(const QList<SystemEntry>& systems) {
    QByteArray bytes = "name      description\r\n";
    for (const SystemEntry& system : systems)
        bytes += system.first.leftJustified(10).toUtf8() + '"' + system.second.toUtf8() + "\"\r\n";
    return bytes;
}

// The layout of today's emulator: `%-17s "%s"` lines ended by LF.
inline QByteArray wideLayoutListing(const QList<SystemEntry>& systems) {
    QByteArray bytes = "Name:             Description:\n";
    for (const SystemEntry& system : systems)
        bytes += system.first.leftJustified(17).toUtf8() + " \"" + system.second.toUtf8() + "\"\n";
    return bytes;
}

// The main window on the test's own program folder, its start-up done, not shown.
inline std::unique_ptr<Form1> openForm(TestPlatform& test) {
    auto form = std::make_unique<Form1>(test.platform());
    form->Form_Load();
    return form;
}

// The entries of a list box, in order.
inline QStringList entriesOf(const SortedListBox* list) {
    return list->items();
}
