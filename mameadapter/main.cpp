// tallowick-mame: copied into Tallowick's program folder as "MESS", it turns the old emulator's
// command line ("MESS nes Game.nes [options]") into one today's MAME accepts
// ("mame nes -cart <program folder>/ROMS/nes/Game.nes [options]") and passes -listfull on.

#include "mameadapter/listmedia.h"
#include "mameadapter/processes.h"
#include "mameadapter/restarguments.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

const char* const Usage =
    "usage: MESS -listfull | MESS <system> <image file in ROMS/<system>> [MAME options]";

int fail(std::string message) {
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::cerr << "tallowick-mame: " << message << std::endl;
    return EXIT_FAILURE;
}

// Tests set TALLOWICK_MAME_FALLBACK to make "no MAME anywhere" happen on a machine that has one.
std::string mameFallback() {
    const char* fallback = std::getenv("TALLOWICK_MAME_FALLBACK");
    return fallback ? fallback : "/usr/games/mame";
}

std::string whyUnlisted(const CapturedRun& listing) {
    std::string reason = listing.exited ? "exit code " + std::to_string(listing.exitCode)
                                        : std::string("ended by a signal");
    const std::string said = listing.errors.substr(0, listing.errors.find('\n'));
    return said.empty() ? reason : reason + ": " + said;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool listFull = !arguments.empty() && arguments[0] == "-listfull";
    if (!listFull && (arguments.size() < 2 || arguments[0].empty() || arguments[0][0] == '-'))
        return fail(Usage);

    const std::string fallback = mameFallback();
    const std::optional<std::string> mame = findExecutable("mame", fallback);
    if (!mame)
        return fail("cannot find MAME: no executable \"mame\" on PATH and none at " + fallback);

    std::vector<std::string> mameArguments{"mame"};
    if (listFull) {
        mameArguments.insert(mameArguments.end(), arguments.begin(), arguments.end());
        return fail("cannot start " + *mame + ": " + replaceProcess(*mame, mameArguments));
    }

    const std::string& system = arguments[0];
    const std::string& image = arguments[1];
    const std::string programFolder = executableFolder();
    if (programFolder.empty())
        return fail("cannot tell which folder holds this program (/proc/self/exe)");

    const CapturedRun listing = runAndCapture(*mame, {"mame", "-listmedia", system});
    if (!listing.error.empty())
        return fail("cannot run " + *mame + " -listmedia " + system + ": " + listing.error);
    const SystemMedia systemMedia = parseListMedia(listing.output, system);
    if (!systemMedia.listed)
        return fail("MAME does not know the system '" + system + "' (" + whyUnlisted(listing) +
                    ")");

    mameArguments.push_back(system);
    if (systemMedia.media.empty()) {
        // Nothing to load an image into: MAME gets the name as Tallowick gave it.
        mameArguments.push_back(image);
    } else {
        const std::string imagePath = programFolder + "/ROMS/" + system + "/" + image;
        if (!isRegularFile(imagePath))
            return fail("no such image file: " + imagePath);
        const std::optional<Media> media = chooseMedia(systemMedia.media, image);
        if (!media && imageExtension(image).empty())
            return fail("the image has no extension to choose a media of '" + system +
                        "' by: " + imagePath);
        if (!media)
            return fail("no media of '" + system + "' takes files ending in '." +
                        imageExtension(image) + "': " + imagePath);
        mameArguments.push_back("-" + media->brief);
        mameArguments.push_back(imagePath);
    }

    const std::string recordingsFolder = programFolder + "/INP";
    const std::vector<std::string> rest(arguments.begin() + 2, arguments.end());
    for (const std::string& argument :
         rewriteRestArguments(rest, fileNamesIn(recordingsFolder), recordingsFolder))
        mameArguments.push_back(argument);

    return fail("cannot start " + *mame + ": " + replaceProcess(*mame, mameArguments));
}
