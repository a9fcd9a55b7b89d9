// The options kept between runs: each control writes its own key when its value changes, and the
// start-up restores them all in the table's order.
#include "mainwindow/checkvalue.h"
#include "mainwindow/form1.h"
#include "mainwindow/optionvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

using namespace OptionValues;

void Form1::RestoreOptions() {
    for (const OptionKey& option : optionTable()) {
        const QString stored = m_platform.settings->read(OptionsSection, QLatin1String(option.key),
                                                         QLatin1String(option.defaultText));
        // A value another program left that the control cannot take: the default instead.
        if (!setOptionFromText(option, stored))
            setOptionFromText(option, QLatin1String(option.defaultText));
    }
}

// Sets the control; its own reaction then writes the value back when it changed.
bool Form1::setOptionFromText(const OptionKey& option, const QString& text) {
    QWidget* control = findChild<QWidget*>(QLatin1String(option.key));
    switch (option.kind) {
    case OptionKind::OptionButton: {
        const auto value = readTruth(text);
        if (!value)
            return false;
        auto* button = static_cast<QRadioButton*>(control);
        if (*value == button->isChecked())
            return true;
        // Clearing one button of a group must not select the other; the stored pair decides.
        button->setAutoExclusive(*value);
        button->setChecked(*value);
        button->setAutoExclusive(true);
        return true;
    }
    case OptionKind::TextBox:
        static_cast<QLineEdit*>(control)->setText(text);
        return true;
    case OptionKind::Slider: {
        auto* slider = static_cast<QSlider*>(control);
        const auto value = readInt32(text);
        if (!value || *value < slider->minimum() || *value > slider->maximum())
            return false;
        slider->setValue(int(*value));
        return true;
    }
    case OptionKind::CheckBox: {
        const auto value = readInt16(text);
        if (!value || *value < 0 || *value > 2)
            return false;
        static_cast<QCheckBox*>(control)->setCheckState(checkStateOf(int(*value)));
        return true;
    }
    case OptionKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(control);
        const auto value = readInt16(text);
        if (!value || *value < -1 || *value >= combo->count())
            return false;
        combo->setCurrentIndex(int(*value));
        return true;
    }
    }
    return false;
}

QString Form1::optionText(const OptionKey& option) const {
    const QWidget* control = findChild<QWidget*>(QLatin1String(option.key));
    switch (option.kind) {
    case OptionKind::OptionButton:
        return truthText(static_cast<const QRadioButton*>(control)->isChecked());
    case OptionKind::TextBox:
        return static_cast<const QLineEdit*>(control)->text();
    case OptionKind::Slider:
        return numberText(static_cast<const QSlider*>(control)->value());
    case OptionKind::CheckBox:
        return numberText(checkValue(static_cast<const QCheckBox*>(control)->checkState()));
    case OptionKind::ComboBox:
        return numberText(static_cast<const QComboBox*>(control)->currentIndex());
    }
    return {};
}

void Form1::writeOption(const OptionKey& option) {
    writeSetting(OptionsSection, QLatin1String(option.key), optionText(option));
}

static const OptionKey& optionNamed(const char* key) {
    for (const OptionKey& option : optionTable()) {
        if (qstrcmp(option.key, key) == 0)
            return option;
    }
    Q_UNREACHABLE();
}

void Form1::OriginalMameOption_Click() {
    AlternateMameText->setEnabled(false);
    writeOption(optionNamed("OriginalMameOption"));
    writeOption(optionNamed("AlternateMameOption"));
}

void Form1::AlternateMameOption_Click() {
    AlternateMameText->setEnabled(true);
    writeOption(optionNamed("OriginalMameOption"));
    writeOption(optionNamed("AlternateMameOption"));
}

void Form1::AdditionalParamCheck_Click() {
    AdditionalParamText->setEnabled(AdditionalParamCheck->checkState() == Qt::Checked);
    writeOption(optionNamed("AdditionalParamCheck"));
}

void Form1::FrameskipSlider_Change() {
    setFrameskipCaption();
    writeOption(optionNamed("FrameskipSlider"));
}

void Form1::setFrameskipCaption() {
    FrameskipLabel->setText(QStringLiteral("Frameskip: ") + numberText(FrameskipSlider->value()));
}
