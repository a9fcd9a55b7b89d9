#pragma once

#include "bench/report.h"

#include <optional>

// "Update systems with MAME": when MAME is installed (on PATH or /usr/games/mame), times MAME's
// own -listfull and -listmedia and the adapter's -listfull, which is what "Update systems" runs
// through it, `runs` times each. The target is MAME's two listings plus 100 ms, since the adapter
// needs both. Prints "skipped: mame is not installed" and gives nothing otherwise.
std::optional<Figure> measureMameUpdate(int runs);
