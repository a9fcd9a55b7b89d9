// tallowick-mame: copied into Tallowick's program folder as "MESS", it turns the command line
// Tallowick composes ("MESS nes Game.nes [options]") into one today's MAME accepts
// ("mame nes -cart <program folder>/ROMS/nes/Game.nes [options]"), and answers -listfull with
// the systems a folder of images can feed.

#include "mameadapter/listmedia.h"
#include "mameadapter/processes.h"
#include "mameadapter/restarguments.h"

#include <tallowick_version.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace {

const char* const Usage =
    "usage: MESS -listfull | MESS <system> <image file in ROMS/<system>> [MAME options] "
    "(version " TALLOWICK_VERSION ")";

// One line on standard error, whatever the message holds.
void say(std::string message) {
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::cerr << "tallowick-mame: " << message << std::endl;
}

int fail(const std::string& message, int exitCode = EXIT_FAILURE) {
    say(message);
    return exitCode;
}

// Tests set TALLOWICK_MAME_FALLBACK to make "no MAME anywhere" happen on a machine that has one.
std::string mameFallback() {
    const char* fallback = std::getenv("TALLOWICK_MAME_FALLBACK");
    return fallback ? fallback : "/usr/games/mame";
}

// How a run ended that did not end well.
std::string howItEnded(const CapturedRun& run) {
    if (!run.error.empty())
        return "could not run it: " + run.error;
    return run.exited ? "exit code " + std::to_string(run.exitCode)
                      : "ended by signal " + std::to_string(run.signal);
}

// The same, with the first line MAME printed on its standard error.
std::string howItEndedAndWhy(const CapturedRun& run) {
    const std::string said = run.errors.substr(0, run.errors.find('\n'));
    return said.empty() ? howItEnded(run) : howItEnded(run) + ": " + said;
}

// Tallowick lists every system of its systems list, so the list keeps only the systems an image
// can be given to: of MAME 0.251's 45,294 machines and devices, 3,869. Both listings are asked
// for at once, since each takes MAME seconds.
int listSystems(const std::string& mame, const std::vector<std::string>& arguments) {
    std::vector<std::string> listFull{"mame"};
    listFull.insert(listFull.end(), arguments.begin(), arguments.end());
    const char* const which = std::getenv("TALLOWICK_MAME_LIST");
    if (which && std::string(which) == "all")
        return fail("cannot start " + mame + ": " + replaceProcess(mame, listFull));

    std::vector<std::string> listMedia = listFull;
    listMedia[1] = "-listmedia";
    std::vector<CapturedRun> runs = runAndCaptureTogether(mame, {listFull, listMedia});
    CapturedRun& full = runs[0];
    const CapturedRun& media = runs[1];
    writeAll(STDERR_FILENO, full.errors);
    if (!full.succeeded())
        return fail(mame + " -listfull failed (" + howItEnded(full) + ")",
                    full.exited && full.exitCode != 0 ? full.exitCode : EXIT_FAILURE);

    std::string whyEverySystem;
    if (!media.succeeded()) {
        whyEverySystem = "-listmedia failed (" + howItEndedAndWhy(media) + ")";
    } else {
        const std::unordered_set<std::string_view> systems = systemsWithMedia(media.output);
        if (systems.empty())
            whyEverySystem = "-listmedia names no system with media";
        else
            keepSystems(full.output, systems);
    }
    if (!whyEverySystem.empty())
        say("listing every system, since " + mame + " " + whyEverySystem);
    if (!writeAll(STDOUT_FILENO, full.output))
        return fail(std::string("cannot write the systems list: ") + std::strerror(errno));
    return EXIT_SUCCESS;
}

// Tallowick finds a system's folder in any letter case, so the image may be in roms/NES/ for
// system nes; the exact spelling wins, and a missing folder is named as Tallowick spells it.
std::string imagePathOf(const std::string& programFolder, const std::string& system,
                        const std::string& image) {
    const std::string roms = folderInAnyCase(programFolder, "ROMS").value_or("ROMS");
    const std::string romsPath = programFolder + "/" + roms;
    return romsPath + "/" + folderInAnyCase(romsPath, system).value_or(system) + "/" + image;
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
    if (listFull)
        return listSystems(*mame, arguments);

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
        return fail("MAME does not know the system '" + system + "' (" + howItEndedAndWhy(listing) +
                    ")");

    std::vector<std::string> mameArguments{"mame", system};
    if (systemMedia.media.empty()) {
        // Nothing to load an image into: MAME gets the name as Tallowick gave it.
        mameArguments.push_back(image);
    } else {
        const std::string imagePath = imagePathOf(programFolder, system, image);
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
