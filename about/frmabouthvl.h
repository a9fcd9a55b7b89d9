#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: program name and version, the maker, and a Close button.
class FrmAbouthvl : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbouthvl(QWidget* owner = nullptr);

    // Creates the window anew, centred on the owner, and returns once it is closed.
    static void showModal(QWidget* owner);

    // Fills in the texts that depend on the build; runs before the window is first shown.
    void Form_Load();
    void Command1_Click();

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
};
