#pragma once

#include "mainwindow/form1.h"
#include "tests/support/testplatform.h"

#include <QPair>
#include <array>
#include <memory>

// The options a user's settings hold, with the defaults a first start shows.
enum class OptionKind { OptionButton, TextBox, Slider, CheckBox, ComboBox };
struct OptionKey {
    const char* key;
    OptionKind kind;
    const char* defaultText;
};
inline const std::array<OptionKey, 26>& optionTable() {
    using K = OptionKind;
    static const std::array<OptionKey, 26> table{{
        {"OriginalMameOption", K::OptionButton, "True"},
        {"AlternateMameOption", K::OptionButton, "False"},
        {"AlternateMameText", K::TextBox, "pmame31"},
        {"AdditionalParamText", K::TextBox, "Nothing !"},
        {"BeamText", K::TextBox, "1.00"},
        {"FlickerText", K::TextBox, "0"},
        {"FrameskipSlider", K::Slider, "0"},
        {"CheatCheck", K::CheckBox, "0"},
        {"AdditionalParamCheck", K::CheckBox, "0"},
        {"BeamCheck", K::CheckBox, "0"},
        {"FlickerCheck", K::CheckBox, "0"},
        {"SbOplCheck", K::CheckBox, "0"},
        {"VideoCombo", K::ComboBox, "0"},
        {"AudioCombo", K::ComboBox, "0"},
        {"DoubleCombo", K::ComboBox, "0"},
        {"DepthCombo", K::ComboBox, "0"},
        {"VGAFreqCombo", K::ComboBox, "0"},
        {"ScanlinesCombo", K::ComboBox, "0"},
        {"VESACombo", K::ComboBox, "0"},
        {"VSyncCombo", K::ComboBox, "0"},
        {"RotateCombo", K::ComboBox, "0"},
        {"FlipCombo", K::ComboBox, "0"},
        {"SampleRateCombo", K::ComboBox, "0"},
        {"BitRateCombo", K::ComboBox, "0"},
        {"AntialiasCombo", K::ComboBox, "0"},
        {"JoyCombo", K::ComboBox, "0"},
    }};
    return table;
}

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
