#!/usr/bin/env bash
# Makes or updates a Tallowick program folder that drives MAME, then starts Tallowick there:
#   mameadapter/install-folder.sh BUILD_DIR [FOLDER]        (FOLDER is ~/Tallowick by default)
# It puts in BUILD_DIR's tallowick, the MAME adapter as MESS, the help page, the folders ROMS/
# and INP/, and a systems list when there is none, and gives the user a desktop entry and icon.
# Run again, it replaces the two programs and the help page only: images, recordings,
# favourites, the systems list and settings stay as they are. TALLOWICK_NO_START=1 leaves
# Tallowick unstarted.
set -euo pipefail

die() {
    echo "install-folder.sh: $*" >&2
    exit 1
}

[ $# -ge 1 ] && [ $# -le 2 ] || die "usage: install-folder.sh BUILD_DIR [FOLDER]"
source=$(cd "$(dirname "$0")/.." && pwd)
build=$1
folder=${2:-$HOME/Tallowick}
case $folder in /*) ;; *) folder=$PWD/$folder ;; esac
apps=$HOME/.local/share/applications
icons=$HOME/.local/share/icons/hicolor/256x256/apps

# Everything is checked before anything changes, so a refused run leaves no trace.
for file in "$build/tallowick" "$build/mameadapter/tallowick-mame"; do
    [ -f "$file" ] && [ -x "$file" ] || die "$file is missing: build tallowick and tallowick-mame first"
done
for file in "$source/demo/folder/Tallowick.htm" "$source/mainwindow/icons/tallowick-256.png"; do
    [ -f "$file" ] || die "$file is missing"
done
# A desktop entry is UTF-8 text of one line a key, so the program's path must be too.
printf '%s' "$folder" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1 ||
    die "the folder's name is not UTF-8, which a desktop entry cannot carry"
case $folder in
*[[:cntrl:]]*) die "the folder's name holds a control character, which a desktop entry cannot carry" ;;
esac
[ ! -e "$folder" ] || [ -d "$folder" ] || die "$folder is not a folder"
for path in "$folder" "$apps" "$icons"; do
    # Whatever of the path already exists must end in a folder this user may write in.
    existing=$path
    while [ ! -e "$existing" ]; do existing=$(dirname "$existing"); done
    [ -d "$existing" ] || die "$path cannot be made: $existing is not a folder"
    [ -w "$existing" ] && [ -x "$existing" ] || die "$path cannot be written: $existing is read-only to you"
done
for name in ROMS INP; do
    [ ! -e "$folder/$name" ] || [ -d "$folder/$name" ] || die "$folder/$name is not a folder"
done
for path in "$folder"/{tallowick,MESS,Tallowick.htm,Tallowick.sys} "$apps/tallowick.desktop" \
    "$icons/tallowick.png"; do
    [ ! -d "$path" ] || die "$path is a folder"
done

# Each file is written under a temporary name beside its place and renamed into it once whole on
# disk, so a crash or a full disk leaves the old file or the new one, never half of one; a
# running Tallowick keeps the program it started from. mv -T renames onto the place itself: a
# folder that appeared there since the checks is refused, not given the file.
temporary=
trap 'rm -f -- "$temporary"' EXIT
place() { # MODE DESTINATION, from standard input
    temporary=$(mktemp "$2.XXXXXX")
    cat >"$temporary"
    chmod "$1" "$temporary"
    sync "$temporary"
    mv -fT -- "$temporary" "$2"
    temporary=
}

# Root passes every -w test above, so a place that still refuses is told here, in one line.
for path in "$folder/ROMS" "$folder/INP" "$apps" "$icons"; do
    why=$(mkdir -p -- "$path" 2>&1) || die "$path cannot be made: ${why##*: }"
done
# Copies, not links: the adapter finds the images beside its own file.
place 755 "$folder/tallowick" <"$build/tallowick"
place 755 "$folder/MESS" <"$build/mameadapter/tallowick-mame"
place 644 "$folder/Tallowick.htm" <"$source/demo/folder/Tallowick.htm"
place 644 "$icons/tallowick.png" <"$source/mainwindow/icons/tallowick-256.png"

if [ ! -e "$folder/Tallowick.sys" ]; then
    echo "Asking MAME which systems take images (a few seconds)"
    temporary=$(mktemp "$folder/Tallowick.sys.XXXXXX")
    if "$folder/MESS" -listfull >"$temporary"; then
        chmod 644 "$temporary"
        sync "$temporary"
        mv -fT -- "$temporary" "$folder/Tallowick.sys"
    else
        echo "install-folder.sh: no systems list yet; choose File > \"Update systems\" in Tallowick" >&2
    fi
    rm -f -- "$temporary"
    temporary=
fi

# Exec takes the program as one quoted argument: the format reserves " ` $ and \ inside quotes
# and % everywhere, and every backslash of a value is doubled once more.
exec_path=$folder/tallowick
exec_path=${exec_path//\\/\\\\}
exec_path=${exec_path//\"/\\\"}
exec_path=${exec_path//\`/\\\`}
exec_path=${exec_path//\$/\\\$}
exec_path=${exec_path//%/%%}
exec_line="\"$exec_path\""
# GLib (GNOME and the desktops built on it, gio launch) loads an entry only when the first word
# of Exec names a program that exists, and checks that before it turns %% back into %: a path
# holding % would never start. Such a path is given to sh, which starts it as its $0 (env would
# take a path holding = for a variable). Only then, so that for everyone else the entry names
# Tallowick's own program, which is what menus and task bars show and match windows by.
case $exec_path in *%*) exec_line='sh -c "exec \"\$0\"" '$exec_line ;; esac
exec_line=${exec_line//\\/\\\\}
icon_path=$icons/tallowick.png
place 644 "$apps/tallowick.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Tallowick
Comment=Start games in MAME from your folder of images
Exec=$exec_line
Icon=${icon_path//\\/\\\\}
Terminal=false
Categories=Game;Emulator;
EOF

echo "Tallowick is set up in $folder: put images in ROMS/<system>/ there"
if [ "${TALLOWICK_NO_START:-}" != 1 ]; then
    (cd "$folder" && setsid -f ./tallowick </dev/null >/dev/null 2>&1)
fi
