#pragma once

#include <QString>
#include <functional>
#include <variant>
#include <vector>

class Form1;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QObject;
class QRadioButton;
class QSlider;

// The settings section that holds every option.
inline const QString OptionsSection = QStringLiteral("Options");

// A control whose value is kept between runs. Its kind decides the text stored for its value,
// how a stored text is read back, and which of its signals is a change.
using OptionControl = std::variant<QRadioButton*, QLineEdit*, QSlider*, QCheckBox*, QComboBox*>;

// One row of the option table: the control (its object name is the key), the text that stands
// in for an absent key, and the window's reaction to a change of the control. Without a reaction
// a change writes the control's own key.
struct OptionBinding {
    OptionControl control;
    const char* defaultText;
    void (Form1::*reaction)() = nullptr;
};

// Every option, in the order the start-up restores them.
std::vector<OptionBinding> optionTable(Form1& window);

QString optionKey(const OptionControl& control);
QString optionText(const OptionControl& control);
// Sets the control from a stored text; false, leaving the control as it was, when the text does
// not fit it.
bool setOptionFromText(const OptionControl& control, const QString& text);
// Runs `changed` after every change of the control's value, made by the user or the program. An
// option button changes when it becomes selected; its partner's clearing belongs to that click.
void onOptionChange(const OptionControl& control, QObject* context,
                    const std::function<void()>& changed);
