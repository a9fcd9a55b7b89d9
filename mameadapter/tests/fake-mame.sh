#!/bin/sh
# Stands in for MAME in the adapter's tests. It answers -listmedia and -listfull the way
# MAME 0.251 prints them, and for anything else (starting a game) writes its arguments, one a
# line, to the file named by FAKE_MAME_ARGUMENTS. FAKE_MAME_EXIT sets the exit code of
# -listfull and of a game.

listmedia_header() {
    echo 'SYSTEM           MEDIA NAME       (brief)    IMAGE FILE EXTENSIONS SUPPORTED'
    echo '---------------- --------------------------- -------------------------------'
}

case "$1" in
-listmedia)
    case "$2" in
    c64)
        listmedia_header
        echo 'c64              cassette         (cass)     .wav  .tap  '
        echo 'c64              floppydisk       (flop)     .mfi  .dfi  .d64  .g64  .g41  .g71  '
        echo 'c64              cartridge        (cart)     .80   .a0   .e0   .crt  '
        echo 'c64              quickload        (quik)     .p00  .prg  .t64  '
        ;;
    nes)
        listmedia_header
        echo 'nes              cartridge        (cart)     .nes  .unf  .unif  '
        ;;
    pacman)
        listmedia_header
        echo 'pacman           (none)'
        ;;
    *)
        echo "Unknown system '$2'" >&2
        exit 5
        ;;
    esac
    ;;
-listfull)
    echo 'Name:             Description:'
    echo 'c64               "Commodore 64 (NTSC)"'
    echo 'nes               "Nintendo Entertainment System / Famicom (NTSC)"'
    echo 'pacman            "Pac-Man (Midway)"'
    echo 'zx81              "ZX-81 – Timex Sinclair 1000"'
    exit "${FAKE_MAME_EXIT:-0}"
    ;;
*)
    printf '%s\n' "$@" >"$FAKE_MAME_ARGUMENTS"
    exit "${FAKE_MAME_EXIT:-0}"
    ;;
esac
