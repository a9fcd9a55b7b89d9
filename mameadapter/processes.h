#pragma once

#include <optional>
#include <string>
#include <vector>

// The few process and file system calls the adapter makes, on plain POSIX.

// What a finished child printed and how it ended.
struct CapturedRun {
    std::string error;   // why it could not be run; empty when it ran
    bool exited = false; // false when a signal ended it
    int exitCode = 0;    // valid when `exited`; 127 when the program could not be executed
    std::string output;  // its standard output
    std::string errors;  // its standard error
};

// Runs `program` with `arguments` (argv[0] included) without a shell and waits for it.
CapturedRun runAndCapture(const std::string& program, const std::vector<std::string>& arguments);

// Replaces this process with `program`; returns only when that fails, with the reason.
std::string replaceProcess(const std::string& program, const std::vector<std::string>& arguments);

// The first executable file called `name` in a folder of PATH (empty entries are skipped, so
// the working folder is never searched by accident), else `fallback` when that is
// executable, else nothing.
std::optional<std::string> findExecutable(const std::string& name, const std::string& fallback);

// The folder that holds the running executable (from /proc/self/exe); empty on failure.
std::string executableFolder();

bool isRegularFile(const std::string& path);

// The names of the files in `folder`; empty when it does not exist.
std::vector<std::string> fileNamesIn(const std::string& folder);
