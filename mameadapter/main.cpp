// tallowick-mame: copied into Tallowick's program folder as "MESS", it turns the command line
// Tallowick composes ("MESS nes Game.nes [options]") into one today's MAME accepts
// ("mame nes -cart <program folder>/ROMS/nes/Game.nes -rompath <folders> [options]"), runs the
// game and explains what MAME leaves unexplained, and answers -listfull with the systems a
// folder of images can feed.

#include "mameadapter/listmedia.h"
#include "mameadapter/mameoutput.h"
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

const char* const Usage = "usage: MESS [-listfull | <system> <image file in ROMS/<system>, or \"\">"
                          " [MAME options]] (version " TALLOWICK_VERSION ")";

// MAME's exit code when a machine's required files are missing.
constexpr int MissingFilesExitCode = 2;

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

// Where MAME looks for a system's own files (its BIOS, in the system's zip).
struct Rompath {
    std::vector<std::string> arguments; // to give MAME; none leaves MAME's rompath as it is
    std::string where;                  // where a system's zip can go, in words
};

// Users keep a system's zip beside their images, in ROMS/, so MAME is given ROMS/ first and
// then its own folders, read from its settings since a -rompath replaces them. When MAME does
// not say them, no -rompath is given: a guess at MAME's folders would hide the ones it has, and
// a game whose BIOS is where MAME always looked must keep starting.
Rompath rompathFor(const std::string& mame, const std::string& romsFolder,
                   const CapturedRun& showConfig) {
    std::string why = "names no rompath";
    if (showConfig.succeeded()) {
        if (const std::optional<std::string> own = rompathOf(showConfig.output))
            return {{"-rompath", romsFolder + ";" + *own},
                    romsFolder + " or in MAME's rompath (" + *own + ")"};
    } else {
        why = "failed (" + howItEndedAndWhy(showConfig) + ")";
    }
    say("not adding " + romsFolder + " to MAME's rompath, since " + mame + " -showconfig " + why);
    return {{}, "MAME's rompath"};
}

// The user's own -rompath (or its short form -rp) is left as it is.
bool namesRompath(const std::vector<std::string>& options) {
    return std::find_if(options.begin(), options.end(), [](const std::string& option) {
               return option == "-rompath" || option == "-rp";
           }) != options.end();
}

// The game runs as the adapter's child, so that its reasons reach Tallowick with what MAME
// leaves unsaid. Tallowick shows the last lines of a failed game's error output: the sound
// library's lines, several on a machine without a sound device, are left out, or they would
// crowd out MAME's reason; and when MAME refuses a machine for missing files, the last line
// names them and where the system's zip goes. The adapter ends as MAME ended.
int play(const std::string& mame, const std::vector<std::string>& arguments,
         const std::string& system, const std::string& where) {
    constexpr std::size_t NamesShown = 2;
    std::vector<std::string> missing;
    std::size_t missingCount = 0;
    const CapturedRun game = runRelayingErrors(mame, arguments, [&](std::string_view line) {
        if (isSoundLibraryNoise(line))
            return;
        if (const std::optional<std::string> file = missingRequiredFile(line)) {
            if (missing.size() < NamesShown)
                missing.push_back("\"" + *file + "\"");
            ++missingCount;
        }
        // When Tallowick has stopped listening, MAME's lines are still read, so that it goes on.
        writeAll(STDERR_FILENO, std::string(line) + "\n");
    });
    if (!game.error.empty())
        return fail("cannot start " + mame + ": " + game.error);
    if (game.exited && game.exitCode == MissingFilesExitCode && missingCount > 0) {
        std::string names = missing[0];
        for (std::size_t i = 1; i < missing.size(); ++i)
            names += (i + 1 == missing.size() && missingCount == missing.size() ? " and " : ", ") +
                     missing[i];
        if (missingCount > missing.size())
            names += " and " + std::to_string(missingCount - missing.size()) + " more";
        const std::string machine = system.empty() ? "the machine" : system;
        const std::string zip = system.empty() ? "its zip" : system + ".zip";
        say("MAME cannot start " + machine + " without " + names + ": put " + zip + " in " + where);
    }
    endAs(game);
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
    if (!listFull && !arguments.empty() &&
        (arguments.size() < 2 || arguments[0].empty() || arguments[0][0] == '-'))
        return fail(Usage);

    const std::string fallback = mameFallback();
    const std::optional<std::string> mame = findExecutable("mame", fallback);
    if (!mame)
        return fail("cannot find MAME: no executable \"mame\" on PATH and none at " + fallback);
    if (listFull)
        return listSystems(*mame, arguments);

    const std::string programFolder = executableFolder();
    if (programFolder.empty())
        return fail("cannot tell which folder holds this program (/proc/self/exe)");
    const std::string romsFolder =
        programFolder + "/" + folderInAnyCase(programFolder, "ROMS").value_or("ROMS");

    // Play with nothing selected: MAME's own menu of machines.
    if (arguments.empty()) {
        const Rompath rompath =
            rompathFor(*mame, romsFolder, runAndCapture(*mame, {"mame", "-showconfig"}));
        std::vector<std::string> mameArguments{"mame"};
        mameArguments.insert(mameArguments.end(), rompath.arguments.begin(),
                             rompath.arguments.end());
        return play(*mame, mameArguments, "", rompath.where);
    }

    const std::string& system = arguments[0];
    const std::string& image = arguments[1];
    const std::vector<std::string> rest(arguments.begin() + 2, arguments.end());
    const bool ownRompath = namesRompath(rest);
    std::vector<std::vector<std::string>> asked{{"mame", "-listmedia", system}};
    if (!ownRompath)
        asked.push_back({"mame", "-showconfig"});
    const std::vector<CapturedRun> answers = runAndCaptureTogether(*mame, asked);
    const CapturedRun& listing = answers[0];
    if (!listing.error.empty())
        return fail("cannot run " + *mame + " -listmedia " + system + ": " + listing.error);
    const SystemMedia systemMedia = parseListMedia(listing.output, system);
    if (!systemMedia.listed)
        return fail("MAME does not know the system '" + system + "' (" + howItEndedAndWhy(listing) +
                    ")");

    std::vector<std::string> mameArguments{"mame", system};
    if (image.empty()) {
        // No image chosen: the system starts with nothing in its slots, as MAME starts it.
    } else if (systemMedia.media.empty()) {
        // Nothing to load an image into: MAME gets the name as Tallowick gave it, which must
        // not read as one of MAME's options.
        if (image[0] == '-')
            return fail("'" + system + "' takes no media, and MAME would read the name '" + image +
                        "' as an option");
        mameArguments.push_back(image);
    } else {
        // The full path starts with "/", so a name starting with "-" stays a file name.
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

    Rompath rompath{{}, "the folders of the -rompath given"};
    if (!ownRompath)
        rompath = rompathFor(*mame, romsFolder, answers[1]);
    mameArguments.insert(mameArguments.end(), rompath.arguments.begin(), rompath.arguments.end());
    const std::string recordingsFolder = programFolder + "/INP";
    for (const std::string& argument :
         rewriteRestArguments(rest, fileNamesIn(recordingsFolder), recordingsFolder))
        mameArguments.push_back(argument);
    return play(*mame, mameArguments, system, rompath.where);
}
