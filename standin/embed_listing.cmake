# Writes OUTPUT, a C++ source that holds the bytes of INPUT as the array behind demoListing().
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${INPUT}; edit that file instead.\n"
    "#include \"standin/listings.h\"\n\n"
    "static const char bytes[${size} + 1] = {${bytes}0};\n\n"
    "std::string_view demoListing() { return {bytes, ${size}}; }\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
