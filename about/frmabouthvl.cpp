#include "about/frmabouthvl.h"

#include "about/helptargets.h"
#include "desktop/windowlook.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPushButton>

FrmAbouthvl::FrmAbouthvl(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(QStringLiteral("Label1"), this)),
      Label2(new QLabel(QStringLiteral("by Haverlyn"), this)),
      Command1(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(QStringLiteral("About..."));

    const qreal dpi = screenDpi();
    const auto place = [dpi](QWidget* control, int top, int height) {
        control->setGeometry(twipsRect(120, top, 3972, height, dpi));
    };
    setFixedSize(twipsToPixels(4224, dpi), twipsToPixels(1332, dpi));

    for (QLabel* label : {Label1, Label2})
        label->setTextFormat(Qt::PlainText);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(tahoma(10.2, true));
    place(Label1, 120, 252);

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFont(tahoma(7.8, true));
    place(Label2, 480, 252);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(tahoma(10.2, true));
    Command1->setDefault(true);
    place(Command1, 840, 372);
    connect(Command1, &QPushButton::clicked, this, &FrmAbouthvl::Command1_Click);

    Form_Load();
}

void FrmAbouthvl::Form_Load() {
    Label1->setText(versionLine());
}

void FrmAbouthvl::Command1_Click() {
    accept();
}

void FrmAbouthvl::showModal(QWidget* owner) {
    FrmAbouthvl window(owner);
    if (owner) {
        // The frame's size is known only once the native window exists.
        window.winId();
        QRect frame = window.frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        window.move(frame.topLeft());
    }
    window.exec();
}
