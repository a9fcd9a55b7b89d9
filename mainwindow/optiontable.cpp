#include "mainwindow/optiontable.h"

const std::array<OptionKey, 26>& optionTable() {
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
