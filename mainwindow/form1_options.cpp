// The options kept between runs: each control writes its own key when its value changes, and the
// start-up restores them all in the option table's order.
#include "mainwindow/form1.h"
#include "mainwindow/optionvalues.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

void Form1::RestoreOptions() {
    for (const OptionBinding& option : m_options) {
        const QString stored = m_platform.settings->read(OptionsSection, optionKey(option.control),
                                                         QLatin1String(option.defaultText));
        // A value another program left that the control cannot take: the default instead. The
        // control's own reaction writes the value back when it changed.
        if (!setOptionFromText(option.control, stored))
            setOptionFromText(option.control, QLatin1String(option.defaultText));
    }
}

void Form1::writeOption(const OptionControl& control) {
    writeSetting(OptionsSection, optionKey(control), optionText(control));
}

void Form1::OriginalMameOption_Click() {
    AlternateMameText->setEnabled(false);
    writeOption(OriginalMameOption);
    writeOption(AlternateMameOption);
}

void Form1::AlternateMameOption_Click() {
    AlternateMameText->setEnabled(true);
    writeOption(OriginalMameOption);
    writeOption(AlternateMameOption);
}

void Form1::AdditionalParamCheck_Click() {
    AdditionalParamText->setEnabled(AdditionalParamCheck->checkState() == Qt::Checked);
    writeOption(AdditionalParamCheck);
}

void Form1::FrameskipSlider_Change() {
    setFrameskipCaption();
    writeOption(FrameskipSlider);
}

void Form1::setFrameskipCaption() {
    FrameskipLabel->setText(QStringLiteral("Frameskip: ") +
                            OptionValues::numberText(FrameskipSlider->value()));
}
