#pragma once

#include <QString>
#include <array>

// The options kept between runs: one key per control, named as the control, in the order the
// start-up restores them.
enum class OptionKind { OptionButton, TextBox, Slider, CheckBox, ComboBox };

struct OptionKey {
    const char* key;
    OptionKind kind;
    const char* defaultText;
};

inline const QString OptionsSection = QStringLiteral("Options");
inline const QString GamesSection = QStringLiteral("Games");

const std::array<OptionKey, 26>& optionTable();
