#include "listmedia.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> result;
    for (std::string word; stream >> word;)
        result.push_back(word);
    return result;
}

// MAME pads each extension to five letters, so a longer one runs into the next
// (".plusd.prg"): the dots, not the blanks, separate them.
void appendExtensions(const std::string& word, std::vector<std::string>& extensions) {
    std::istringstream stream(word);
    for (std::string extension; std::getline(stream, extension, '.');)
        if (!extension.empty())
            extensions.push_back(extension);
}

bool isBrief(const std::string& word) {
    return word.size() > 2 && word.front() == '(' && word.back() == ')';
}

} // namespace

SystemMedia parseListMedia(const std::string& listMediaOutput, const std::string& system) {
    SystemMedia result;
    const std::string wanted = lowerCase(system);
    std::istringstream lines(listMediaOutput);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> word = words(line);
        if (word.size() < 2 || lowerCase(word[0]) != wanted)
            continue;
        if (word[1] == "(none)") {
            result.listed = true;
            continue;
        }
        if (word.size() < 3 || !isBrief(word[2]))
            continue;
        result.listed = true;
        Media media{word[1], word[2].substr(1, word[2].size() - 2), {}};
        for (std::size_t i = 3; i < word.size(); ++i)
            appendExtensions(word[i], media.extensions);
        result.media.push_back(media);
    }
    return result;
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
