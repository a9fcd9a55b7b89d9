#include "listmedia.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

constexpr std::string_view Blanks = " \t\r";

// Takes the next blank-separated word off the front of `text`; empty when none is left.
std::string_view takeWord(std::string_view& text) {
    const std::size_t start = std::min(text.find_first_not_of(Blanks), text.size());
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find_first_of(Blanks), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// Takes the next line, without its line feed, off the front of `text`.
std::string_view takeLine(std::string_view& text) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    return line;
}

// One line of -listmedia: "nes  cartridge  (cart)  .nes  .unf  .unif" or "pacman  (none)".
struct MediaLine {
    std::string_view system;
    bool none = false;           // the system has no media
    std::string_view name;       // the rest are empty when `none`
    std::string_view brief;      // without the parentheses
    std::string_view extensions; // the rest of the line
};

// Nothing for the header, the rule under it and anything else that is not a system's line.
std::optional<MediaLine> readMediaLine(std::string_view line) {
    MediaLine result;
    result.system = takeWord(line);
    result.name = takeWord(line);
    if (result.name == "(none)") {
        result.none = true;
        result.name = {};
        return result;
    }
    const std::string_view brief = takeWord(line);
    if (brief.size() < 3 || brief.front() != '(' || brief.back() != ')')
        return std::nullopt;
    result.brief = brief.substr(1, brief.size() - 2);
    result.extensions = line;
    return result;
}

// MAME pads each extension to five letters, so a longer one runs into the next
// (".plusd.prg"): the dots, not the blanks, separate them.
std::vector<std::string> extensionsOf(std::string_view text) {
    std::vector<std::string> extensions;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(". \t\r"), text.size());
        if (end > 0)
            extensions.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return extensions;
}

} // namespace

SystemMedia parseListMedia(std::string_view listMediaOutput, const std::string& system) {
    SystemMedia result;
    const std::string wanted = lowerCase(system);
    while (!listMediaOutput.empty()) {
        const std::optional<MediaLine> line = readMediaLine(takeLine(listMediaOutput));
        if (!line || lowerCase(std::string(line->system)) != wanted)
            continue;
        result.listed = true;
        if (!line->none)
            result.media.push_back({std::string(line->name), std::string(line->brief),
                                    extensionsOf(line->extensions)});
    }
    return result;
}

std::unordered_set<std::string_view> systemsWithMedia(std::string_view listMediaOutput) {
    std::unordered_set<std::string_view> systems;
    while (!listMediaOutput.empty()) {
        const std::optional<MediaLine> line = readMediaLine(takeLine(listMediaOutput));
        if (line && !line->none)
            systems.insert(line->system);
    }
    return systems;
}

void keepSystems(std::string& listFullOutput, const std::unordered_set<std::string_view>& systems) {
    std::string_view rest = listFullOutput;
    std::size_t kept = 0;
    for (bool header = true; !rest.empty(); header = false) {
        const char* const start = rest.data();
        std::string_view line = takeLine(rest);
        const std::size_t length = static_cast<std::size_t>(rest.data() - start);
        if (header || systems.count(takeWord(line)) != 0) {
            // Moving a line towards the front never overwrites what is still to be read.
            std::memmove(&listFullOutput[kept], start, length);
            kept += length;
        }
    }
    listFullOutput.resize(kept);
}

std::string imageExtension(const std::string& imageName) {
    const std::string::size_type dot = imageName.rfind('.');
    const std::string::size_type slash = imageName.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return lowerCase(imageName.substr(dot + 1));
}

std::optional<Media> chooseMedia(const std::vector<Media>& media, const std::string& imageName) {
    const std::string extension = imageExtension(imageName);
    if (extension.empty())
        return std::nullopt;
    for (const Media& candidate : media)
        for (const std::string& known : candidate.extensions)
            if (lowerCase(known) == extension)
                return candidate;
    if ((extension == "zip" || extension == "7z") && !media.empty())
        return media.front();
    return std::nullopt;
}
