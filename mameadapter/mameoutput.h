#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading what MAME prints besides its listings: its settings and its reasons on standard error.

// MAME's rompath from `mame -showconfig` output, each folder as MAME reads it from its ini files:
// a leading "~" and every $NAME or ${NAME} taken from the environment (an unset one is dropped).
// MAME 0.251 does not expand a -rompath given on its command line, where the adapter gives it,
// so "$HOME/mame/roms" must reach MAME as "/home/user/mame/roms". Nothing without a rompath line.
std::optional<std::string> rompathOf(std::string_view showConfigOutput);

// The file that a line of MAME's standard error says is required and missing:
// "313 10031-4005 73108a.u2" of "313 10031-4005 73108a.u2 NOT FOUND (tried in coleco)". Nothing
// for any other line, an optional file or one of which no good dump is known included, since
// MAME starts the machine without those.
std::optional<std::string> missingRequiredFile(std::string_view errorLine);

// Whether the line is the sound library telling that there is no sound device ("ALSA lib ...").
// MAME then runs without sound, and these lines say nothing about why a game did not start.
bool isSoundLibraryNoise(std::string_view errorLine);
