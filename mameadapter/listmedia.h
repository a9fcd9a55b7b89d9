#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// One kind of media a MAME system can load, as `mame -listmedia <system>` lists it,
// e.g. name "cartridge", brief "cart", extensions {"80", "a0", "e0", "crt"}.
struct Media {
    std::string name;
    std::string brief;
    std::vector<std::string> extensions; // without the dot, as MAME spells them
};

// What `mame -listmedia` says about one system.
struct SystemMedia {
    bool listed = false;      // the system has at least one line, "(none)" included
    std::vector<Media> media; // in MAME's order; empty for a system without media
};

// Reads the lines of `system` (compared in any letter case) from -listmedia output and
// ignores the header and the lines of other systems.
SystemMedia parseListMedia(std::string_view listMediaOutput, const std::string& system);

// The systems that `mame -listmedia` (of every system) gives at least one media; the names
// point into `listMediaOutput`.
std::unordered_set<std::string_view> systemsWithMedia(std::string_view listMediaOutput);

// Keeps, in place, the first line of `mame -listfull` output (its header) and the lines of the
// systems in `systems`, each byte for byte and in MAME's order.
void keepSystems(std::string& listFullOutput, const std::unordered_set<std::string_view>& systems);

// The text after the last dot of the file name, in lower case; empty when there is none.
std::string imageExtension(const std::string& imageName);

// The first media whose extensions hold the image's extension, in any letter case.
// An archive (.zip, .7z) that no media names goes to the first media, where MAME looks
// inside it. Nothing when no media fits.
std::optional<Media> chooseMedia(const std::vector<Media>& media, const std::string& imageName);
