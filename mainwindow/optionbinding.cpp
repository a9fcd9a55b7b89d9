#include "mainwindow/optionbinding.h"

#include "mainwindow/checkvalue.h"
#include "mainwindow/form1.h"
#include "mainwindow/optionvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

using namespace OptionValues;

std::vector<OptionBinding> optionTable(Form1& w) {
    return {
        {w.OriginalMameOption, "True", &Form1::OriginalMameOption_Click},
        {w.AlternateMameOption, "False", &Form1::AlternateMameOption_Click},
        {w.AlternateMameText, "pmame31"},
        {w.AdditionalParamText, "Nothing !"},
        {w.BeamText, "1.00"},
        {w.FlickerText, "0"},
        {w.FrameskipSlider, "0", &Form1::FrameskipSlider_Change},
        {w.CheatCheck, "0"},
        {w.AdditionalParamCheck, "0", &Form1::AdditionalParamCheck_Click},
        {w.BeamCheck, "0"},
        {w.FlickerCheck, "0"},
        {w.SbOplCheck, "0"},
        {w.VideoCombo, "0"},
        {w.AudioCombo, "0"},
        {w.DoubleCombo, "0"},
        {w.DepthCombo, "0"},
        {w.VGAFreqCombo, "0"},
        {w.ScanlinesCombo, "0"},
        {w.VESACombo, "0"},
        {w.VSyncCombo, "0"},
        {w.RotateCombo, "0"},
        {w.FlipCombo, "0"},
        {w.SampleRateCombo, "0"},
        {w.BitRateCombo, "0"},
        {w.AntialiasCombo, "0"},
        {w.JoyCombo, "0"},
    };
}

namespace {

QString textOf(const QRadioButton* button) {
    return truthText(button->isChecked());
}
QString textOf(const QLineEdit* text) {
    return text->text();
}
QString textOf(const QSlider* slider) {
    return numberText(slider->value());
}
QString textOf(const QCheckBox* check) {
    return numberText(checkValue(check->checkState()));
}
QString textOf(const QComboBox* combo) {
    return numberText(combo->currentIndex());
}

bool setFrom(QRadioButton* button, const QString& text) {
    const auto value = readTruth(text);
    if (!value)
        return false;
    if (*value == button->isChecked())
        return true;
    // Clearing one button of a group must not select the other; the stored pair decides.
    button->setAutoExclusive(*value);
    button->setChecked(*value);
    button->setAutoExclusive(true);
    return true;
}
bool setFrom(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    return true;
}
bool setFrom(QSlider* slider, const QString& text) {
    const auto value = readInt32(text);
    if (!value || *value < slider->minimum() || *value > slider->maximum())
        return false;
    slider->setValue(int(*value));
    return true;
}
bool setFrom(QCheckBox* check, const QString& text) {
    const auto value = readInt16(text);
    if (!value || *value < 0 || *value > 2)
        return false;
    check->setCheckState(checkStateOf(int(*value)));
    return true;
}
bool setFrom(QComboBox* combo, const QString& text) {
    const auto value = readInt16(text);
    if (!value || *value < -1 || *value >= combo->count())
        return false;
    combo->setCurrentIndex(int(*value));
    return true;
}

void connectChange(QRadioButton* button, QObject* context, const std::function<void()>& changed) {
    QObject::connect(button, &QRadioButton::toggled, context, [changed](bool selected) {
        if (selected)
            changed();
    });
}
void connectChange(QLineEdit* edit, QObject* context, const std::function<void()>& changed) {
    QObject::connect(edit, &QLineEdit::textChanged, context, changed);
}
void connectChange(QSlider* slider, QObject* context, const std::function<void()>& changed) {
    QObject::connect(slider, &QSlider::valueChanged, context, changed);
}
void connectChange(QCheckBox* check, QObject* context, const std::function<void()>& changed) {
    QObject::connect(check, &QCheckBox::stateChanged, context, changed);
}
void connectChange(QComboBox* combo, QObject* context, const std::function<void()>& changed) {
    QObject::connect(combo, &QComboBox::currentIndexChanged, context, changed);
}

} // namespace

QString optionKey(const OptionControl& control) {
    return std::visit([](const QObject* c) { return c->objectName(); }, control);
}

QString optionText(const OptionControl& control) {
    return std::visit([](const auto* c) { return textOf(c); }, control);
}

bool setOptionFromText(const OptionControl& control, const QString& text) {
    return std::visit([&text](auto* c) { return setFrom(c, text); }, control);
}

void onOptionChange(const OptionControl& control, QObject* context,
                    const std::function<void()>& changed) {
    std::visit([&](auto* c) { connectChange(c, context, changed); }, control);
}
