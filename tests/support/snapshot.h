#pragma once

#include <map>
#include <string>

class QString;

// Everything under a folder by its raw name (names need not be text), each with its kind and
// bytes, so that a test can show the user's files came through byte for byte unchanged.
using FolderContents = std::map<std::string, std::string>;
FolderContents contentsOf(const QString& folder);
