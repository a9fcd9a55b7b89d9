#include "mameoutput.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

bool startsWith(std::string_view text, std::string_view start) {
    return text.compare(0, start.size(), start) == 0;
}

bool isNameCharacter(char c) {
    return c == '_' || std::isalnum(static_cast<unsigned char>(c));
}

std::string variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

// One folder of a search path, expanded as MAME expands the folders of its ini files.
std::string expandFolder(std::string_view folder) {
    std::string result;
    if (startsWith(folder, "~") && (folder.size() == 1 || folder[1] == '/')) {
        result = variable("HOME");
        folder.remove_prefix(1);
    }
    while (!folder.empty()) {
        const std::size_t dollar = folder.find('$');
        result.append(folder.substr(0, dollar));
        if (dollar == std::string_view::npos)
            break;
        folder.remove_prefix(dollar + 1);
        const std::size_t close = folder.find('}');
        if (startsWith(folder, "{") && close != std::string_view::npos) {
            result += variable(std::string(folder.substr(1, close - 1)));
            folder.remove_prefix(close + 1);
            continue;
        }
        std::size_t length = 0;
        while (length < folder.size() && isNameCharacter(folder[length]))
            ++length;
        if (length == 0) // a "$" that starts no name, or "${" without its "}", stays as it is
            result += '$';
        else
            result += variable(std::string(folder.substr(0, length)));
        folder.remove_prefix(length);
    }
    return result;
}

} // namespace

std::optional<std::string> rompathOf(std::string_view showConfigOutput) {
    constexpr std::string_view Name = "rompath";
    constexpr std::string_view Blanks = " \t\r";
    while (!showConfigOutput.empty()) {
        const std::size_t end = std::min(showConfigOutput.find('\n'), showConfigOutput.size());
        std::string_view line = showConfigOutput.substr(0, end);
        showConfigOutput.remove_prefix(std::min(end + 1, showConfigOutput.size()));
        const bool named =
            startsWith(line, Name) && (line.size() == Name.size() ||
                                       Blanks.find(line[Name.size()]) != std::string_view::npos);
        if (!named)
            continue;
        line.remove_prefix(std::min(line.find_first_not_of(Blanks, Name.size()), line.size()));
        line.remove_suffix(line.size() - (line.find_last_not_of(Blanks) + 1));
        // MAME quotes a value that holds a blank.
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
            line = line.substr(1, line.size() - 2);
        // Each folder on its own, as MAME expands them: "~" starts any of them.
        std::string rompath;
        for (std::size_t start = 0;;) {
            const std::size_t separator = line.find(';', start);
            rompath += expandFolder(line.substr(start, separator - start));
            if (separator == std::string_view::npos)
                break;
            rompath += ';';
            start = separator + 1;
        }
        return rompath;
    }
    return std::nullopt;
}

std::optional<std::string> missingRequiredFile(std::string_view errorLine) {
    constexpr std::string_view NotFound = " NOT FOUND";
    const std::size_t at = errorLine.rfind(NotFound);
    if (at == std::string_view::npos || at == 0 || startsWith(errorLine, "OPTIONAL "))
        return std::nullopt;
    const std::string_view after = errorLine.substr(at + NotFound.size());
    if (!after.empty() && !startsWith(after, " (tried in "))
        return std::nullopt;
    return std::string(errorLine.substr(0, at));
}

bool isSoundLibraryNoise(std::string_view errorLine) {
    return startsWith(errorLine, "ALSA lib ");
}
