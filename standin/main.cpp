// tallowick-standin: takes the place of the emulator (installed as MESS and pmame31) in tests and
// in the demo folder. Every start appends a record of its process id, argv[0], working folder and
// arguments to a log, then does what the environment asks:
//
//   STANDIN_LOG=<file>      the log to append to; default: standin.log beside the executable
//   STANDIN_DELAY=<ms>      after logging, wait that long before doing the rest
//   STANDIN_SPEW=<MB>       then write that many megabytes of warning lines to standard error
//   STANDIN_SAY=<text>      then write the text and a line end to standard error
//   STANDIN_SIGNAL=<n>      then end by signal n, as a crash does
//   STANDIN_EXIT=<n>        then exit at once with code n, printing nothing else
//   STANDIN_HANG=1          after logging, print the listing's header line (for -listfull only),
//                           then sleep until killed
//   STANDIN_LISTING=<file>  -listfull prints this file's bytes unchanged
//   STANDIN_EMPTY=1         -listfull prints nothing
//   STANDIN_WIDE=1          -listfull prints the built-in listing in today's wide layout
//                           (otherwise the old layout, the same bytes as demo Tallowick.sys)
//   STANDIN_SHOW=1          a game launch shows a window with the arguments for 15 seconds
//
// The first of STANDIN_LISTING, STANDIN_EMPTY and STANDIN_WIDE that is set decides the listing.

#include "standin/launchwindow.h"
#include "standin/listings.h"
#include "standin/runrecord.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

bool isOn(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

std::optional<int> numberAsked(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long code = std::strtol(value, &end, 10);
    if (errno != 0 || *end != '\0' || code < INT_MIN || code > INT_MAX) {
        std::fprintf(stderr, "tallowick-standin: %s=%s is not a number, ignored\n", name, value);
        return std::nullopt;
    }
    return static_cast<int>(code);
}

std::string currentFolder() {
    std::string folder(256, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

std::optional<std::string> listingToPrint() {
    if (const char* path = std::getenv("STANDIN_LISTING"); path && *path) {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    if (isOn("STANDIN_EMPTY"))
        return std::string();
    if (isOn("STANDIN_WIDE"))
        return wideListing();
    return std::string(demoListing());
}

void print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    RunRecord run;
    run.pid = static_cast<long>(getpid());
    run.program = argc > 0 ? argv[0] : "";
    run.workingFolder = currentFolder();
    for (int i = 1; i < argc; ++i)
        run.arguments.emplace_back(argv[i]);

    const std::string log = logFilePath();
    if (!appendToLog(log, formatRunRecord(run)))
        std::fprintf(stderr, "tallowick-standin: cannot write %s: %s\n", log.c_str(),
                     std::strerror(errno));

    if (const auto milliseconds = numberAsked("STANDIN_DELAY"))
        usleep(useconds_t(*milliseconds) * 1000);
    if (const auto megabytes = numberAsked("STANDIN_SPEW")) {
        const std::string warning(1023, 'w');
        for (long line = 0; line < long(*megabytes) * 1024; ++line)
            std::fprintf(stderr, "%s\n", warning.c_str());
    }
    if (const char* said = std::getenv("STANDIN_SAY"))
        std::fprintf(stderr, "%s\n", said);
    if (const auto signal = numberAsked("STANDIN_SIGNAL")) {
        const rlimit noCoreFile{0, 0}; // a crash asked for leaves nothing behind
        setrlimit(RLIMIT_CORE, &noCoreFile);
        std::signal(*signal, SIG_DFL);
        std::raise(*signal);
    }
    if (const auto code = numberAsked("STANDIN_EXIT"))
        return *code;

    const bool listing = !run.arguments.empty() && run.arguments.front() == "-listfull";
    std::optional<std::string> text;
    if (listing) {
        text = listingToPrint();
        if (!text) {
            std::fprintf(stderr, "tallowick-standin: cannot read %s\n",
                         std::getenv("STANDIN_LISTING"));
            return 1;
        }
    }

    if (isOn("STANDIN_HANG")) {
        if (listing)
            print(headerLine(*text));
        for (;;)
            pause();
    }

    if (listing) {
        print(*text);
        return 0;
    }
    if (isOn("STANDIN_SHOW"))
        return showLaunchWindow(argc, argv, run.program, run.arguments);
    return 0;
}
