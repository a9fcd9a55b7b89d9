#include "standin/listings.h"

#include <cstdio>
#include <string>

namespace {

struct WideSystem {
    const char* name;
    const char* description;
};

// Real machines in the way today's emulator names them, with the awkward cases a reader of the
// listing must survive: quotes and commas inside descriptions, non-ASCII letters, a name that
// fills all sixteen columns.
const WideSystem wideSystems[] = {
    {"nes", "Nintendo Entertainment System / Famicom (NTSC)"},
    {"snes", "Super Nintendo Entertainment System / Super Famicom (NTSC)"},
    {"genesis", "Genesis (USA, NTSC)"},
    {"gameboy", "Game Boy"},
    {"gamegear", "Game Gear (Europe, USA)"},
    {"c64", "Commodore 64 (NTSC)"},
    {"a2600", "Atari 2600 (NTSC)"},
    {"coleco", "ColecoVision (NTSC)"},
    {"intv", "Intellivision"},
    {"pv2000", "PV-2000 \"Rakugaki\""},
    {"to770", "TO7/70 (Thomson, édition française)"},
    {"kc85_4", "KC 85/4 (VEB Mikroelektronik Mühlhausen)"},
    {"ti99_4a", "TI-99/4A Home Computer (US)"},
    {"spectrum128plus2", "ZX Spectrum 128 +2 (Amstrad, grey case)"},
    {"zx81", "ZX-81"},
};

} // namespace

std::string wideListing() {
    std::string listing = "Name:             Description:\n";
    char line[256];
    for (const WideSystem& system : wideSystems) {
        const int length =
            std::snprintf(line, sizeof line, "%-17s \"%s\"\n", system.name, system.description);
        listing.append(line, static_cast<std::size_t>(length));
    }
    return listing;
}

std::string_view headerLine(std::string_view listing) {
    const std::size_t end = listing.find('\n');
    return end == std::string_view::npos ? listing : listing.substr(0, end + 1);
}
