#include "standin/launchwindow.h"

#include "standin/runrecord.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

int showLaunchWindow(int argc, char** argv, const std::string& program,
                     const std::vector<std::string>& arguments) {
    QApplication application(argc, argv);

    QDialog window;
    window.setWindowTitle(QStringLiteral("Stand-in emulator"));

    auto* what = new QLabel(
        QStringLiteral("This is the stand-in emulator, started as:\n%1\n\nIt got %2 argument(s):")
            .arg(QString::fromStdString(program))
            .arg(arguments.size()));
    what->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Written as in the log, so an argument holding a line break still takes one line.
    QStringList lines;
    for (const std::string& argument : arguments)
        lines << QString::fromStdString(escapeLogText(argument));
    auto* list = new QPlainTextEdit(lines.join(QLatin1Char('\n')));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);

    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(what);
    layout->addWidget(list);
    layout->addWidget(buttons);
    window.resize(480, 300);

    QTimer::singleShot(15000, &window, &QDialog::reject);
    window.exec();
    return 0;
}
