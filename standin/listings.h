#pragma once

#include <string>
#include <string_view>

// The systems listings the stand-in can print for -listfull.

// The demo folder's Tallowick.sys, byte for byte: the old layout, CR LF line ends.
std::string_view demoListing();

// Today's layout: a "Name:  Description:" header, then name padded to 17 columns and the
// description in double quotes, LF line ends, UTF-8, names up to 16 characters.
std::string wideListing();

// The first line of a listing with its line end, or all of it when it has no line end.
std::string_view headerLine(std::string_view listing);
