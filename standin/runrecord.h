#pragma once

#include <string>
#include <vector>

// The record of one start of the stand-in, in the log that tests and curious users read:
//   run / pid=<pid> / program=<argv[0]> / cwd=<folder> / arg=<text>... / end
// one item a line, LF-ended. Texts keep their bytes, except that a backslash is written as two
// backslashes and a newline as backslash-n, so every text stays on its own line.

struct RunRecord {
    long pid = 0;
    std::string program;
    std::string workingFolder;
    std::vector<std::string> arguments;
};

std::string escapeLogText(const std::string& text);
std::string formatRunRecord(const RunRecord& run);

// STANDIN_LOG when it is set, else standin.log beside the running executable.
std::string logFilePath();

// Appends the record with a single write() on an O_APPEND descriptor, so records of runs that
// happen at the same time never mix. False, with errno set, when that fails.
bool appendToLog(const std::string& path, const std::string& record);
