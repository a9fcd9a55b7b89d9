#include "restarguments.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalInAnyCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool endsWithInp(const std::string& name) {
    const std::string suffix = ".inp";
    return name.size() > suffix.size() &&
           equalInAnyCase(name.substr(name.size() - suffix.size()), suffix);
}

std::string recordingName(const std::string& name, const std::vector<std::string>& recordingFiles) {
    const std::string withExtension = endsWithInp(name) ? name : name + ".inp";
    for (const std::string& existing : recordingFiles)
        if (equalInAnyCase(existing, withExtension))
            return existing;
    return withExtension;
}

// MAME takes the short forms too, and users type them into Tallowick's own options.
bool namesRecording(const std::string& option) {
    return option == "-playback" || option == "-pb" || option == "-record" || option == "-rec";
}

} // namespace

std::vector<std::string> rewriteRestArguments(const std::vector<std::string>& rest,
                                              const std::vector<std::string>& recordingFiles,
                                              const std::string& recordingsFolder) {
    std::vector<std::string> result;
    bool namesInputDirectory = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        result.push_back(rest[i]);
        if (rest[i] == "-input_directory")
            namesInputDirectory = true;
        if (namesRecording(rest[i]) && i + 1 < rest.size())
            result.push_back(recordingName(rest[++i], recordingFiles));
    }
    if (!namesInputDirectory) {
        result.push_back("-input_directory");
        result.push_back(recordingsFolder);
    }
    return result;
}
