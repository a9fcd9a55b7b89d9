#pragma once

#include <string>
#include <vector>

// Turns the arguments Tallowick adds after the image into MAME's: the name after -playback or
// -record (or their short forms -pb and -rec) gains ".inp" (unless it ends so already), spelled
// like the file that already lies in the recordings folder when one matches in any letter case,
// and "-input_directory <recordingsFolder>" is added unless the arguments name one, so that
// recordings land where Tallowick lists them.
// `recordingFiles` holds the file names (without folder) found in the recordings folder.
std::vector<std::string> rewriteRestArguments(const std::vector<std::string>& rest,
                                              const std::vector<std::string>& recordingFiles,
                                              const std::string& recordingsFolder);
