#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The few process and file system calls the adapter makes, on POSIX and Linux.

// What a finished child printed and how it ended.
struct CapturedRun {
    std::string error;   // why it could not be run; empty when it ran
    bool exited = false; // false when a signal ended it
    int exitCode = 0;    // valid when `exited`; 127 when the program could not be executed
    int signal = 0;      // the signal that ended it, when not `exited`
    std::string output;  // its standard output
    std::string errors;  // its standard error

    bool succeeded() const { return error.empty() && exited && exitCode == 0; }
};

// Runs `program` once for each list of `arguments` (argv[0] included), all at the same time and
// without a shell, and waits for every one of them; the results come in the lists' order.
std::vector<CapturedRun> runAndCaptureTogether(const std::string& program,
                                               const std::vector<std::vector<std::string>>& lists);

// Runs `program` with `arguments` (argv[0] included) without a shell and waits for it.
CapturedRun runAndCapture(const std::string& program, const std::vector<std::string>& arguments);

// Runs `program` with `arguments` (argv[0] included) without a shell and waits for it, as a game is
// run: it shares this process's standard input and output, its standard error is handed to
// `onErrorLine` a line at a time (without the line feed; a line longer than 64 KiB in pieces) as
// it comes, and the TERM, INT and HUP this process gets are passed on to it. Its `output` and
// `errors` stay empty.
CapturedRun runRelayingErrors(const std::string& program, const std::vector<std::string>& arguments,
                              const std::function<void(std::string_view)>& onErrorLine);

// Ends this process as `run` ended: with its exit code, or by the same signal (without a core
// file of this process's own).
[[noreturn]] void endAs(const CapturedRun& run);

// Replaces this process with `program`; returns only when that fails, with the reason.
std::string replaceProcess(const std::string& program, const std::vector<std::string>& arguments);

// Writes all of `text` to the file descriptor; false (with errno set) when it cannot.
bool writeAll(int fd, std::string_view text);

// The first executable file called `name` in a folder of PATH (empty entries are skipped, so
// the working folder is never searched by accident), else `fallback` when that is
// executable, else nothing.
std::optional<std::string> findExecutable(const std::string& name, const std::string& fallback);

// The folder that holds the running executable (from /proc/self/exe); empty on failure.
std::string executableFolder();

bool isRegularFile(const std::string& path);

// The name of the sub-folder of `folder` called `name` in any letter case (ASCII): `name`
// itself when that folder exists, else the first such name in byte order; nothing when none.
std::optional<std::string> folderInAnyCase(const std::string& folder, const std::string& name);

// The names of the files in `folder`; empty when it does not exist.
std::vector<std::string> fileNamesIn(const std::string& folder);
