#!/usr/bin/env python3
"""Seeds realistic faults into the product code, one at a time, and tells which the tests catch.

    tools/faults.py [--rev REV] [--jobs N] [--only ID ...] [--list] [--keep]

The faults are planted in a worktree of their own (a detached checkout of REV, HEAD by default,
in a temporary folder), never in this checkout: a run that is killed leaves this checkout as it
was. For each fault the edit is made, the worktree's build is brought up to date, every test runs
(offscreen, as `./build.sh test` runs them), and the file is checked out again. A fault is
"caught" when a test fails, "missed" when every test passes. An edit whose text is not found
exactly once is "stale": the code moved and the list must follow it, so the run stops before it
starts. The exit code is 0 when every fault is caught, 1 when one is stale, 3 when one is missed.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

# (id, what a user would see go wrong, [(file, text, replacement), ...])
FAULTS = [
    # The systems list
    ("systems-column", "descriptions lose their first letter (column 13 taken for 12)",
     [("catalogue/systemsfile.cpp", "line.mid(11, size - 12)", "line.mid(12, size - 12)")]),
    ("systems-header-read", "the header line shows up as a system",
     [("catalogue/systemsfile.cpp", "if (number == 0)\n            return;", "if (number < 0)\n            return;")]),
    ("systems-first-match", "a description listed twice shows the games of the first, not the last",
     [("catalogue/systemsfile.cpp", "for (auto it = systems.rbegin(); it != systems.rend(); ++it)",
       "for (auto it = systems.begin(); it != systems.end(); ++it)")]),
    ("shortname-width", "a fixed-column short name takes column 9 too",
     [("catalogue/systemsfile.cpp", "line.left(8).trimmed()", "line.left(9).trimmed()")]),
    ("crlf-across-pieces", "a CR LF split between two pieces of a read makes an empty line",
     [("platform/textfile.cpp", "                    m_afterCr = true;", "                    m_afterCr = false;")]),
    ("long-line-held", "a corrupt line of hundreds of megabytes is held whole",
     [("platform/textfile.cpp", "if (m_line.size() + size > LongestLine) {", "if (false) {")]),
    ("system-tooltip-count", "a system's tooltip counts one image too many",
     [("mainwindow/form1_catalogue.cpp", "names ? int(names->size()) : -1", "names ? int(names->size()) + 1 : -1")]),
    # The games list
    ("dirtxt-case", "DIR.TXT shows up as a game (the check minds letter case)",
     [("catalogue/gameslist.cpp", 'QLatin1String("dir.txt"), Qt::CaseInsensitive', 'QLatin1String("dir.txt"), Qt::CaseSensitive')]),
    ("hidden-files", "hidden files show up as games and recordings",
     [("platform/folderlisting.cpp", "if (entry->d_name[0] == '.')\n            continue;", "")]),
    ("links-dropped", "a link to an image is not listed",
     [("platform/folderlisting.cpp", "entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN", "entry->d_type == DT_UNKNOWN")]),
    ("sort-case", "the lists sort capitals before small letters",
     [("platform/textorder.cpp", "c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c", "c")]),
    ("sort-key-ties", "names alike in their first 27 letters come out in the wrong order",
     [("platform/textorder.cpp", "std::min(a.length, b.length)))\n            return order < 0;",
       "std::min(a.length, b.length)))\n            return order < 0;\n        return a.index < b.index;")]),
    ("line-padding", "the command tail starts at column 63",
     [("catalogue/gameline.cpp", "QString(NameColumns - shown.size(), QLatin1Char(' '))",
       "QString(NameColumns - shown.size() - 1, QLatin1Char(' '))")]),
    ("tail-column", "the launch takes the tail from column 63",
     [("catalogue/gameline.cpp", "return line.mid(NameColumns);", "return line.mid(NameColumns - 1);")]),
    ("name-untrimmed", "messages show the name with the line's blanks",
     [("catalogue/gameline.cpp", "return line.left(NameColumns).trimmed();", "return line.left(NameColumns);")]),
    ("uncarried-names", "a name with a double quote is listed and cannot be played whole",
     [("catalogue/gameline.cpp", "c == QLatin1Char('\"') || ", "")]),
    ("empty-list-silent", "an empty games list does not say where it looked",
     [("mainwindow/form1_catalogue.cpp", "GamesList->setEmptyText(noImagesIn(", "GamesList->setEmptyText(QString() + (")]),
    ("cut-name-no-tooltip", "a name cut at the list's width shows no tooltip",
     [("mainwindow/form1_catalogue.cpp", "return name != shown || GamesList->isCutOnScreen(shown)", "return name != shown")]),
    ("odd-characters-drawn", "a line separator in a name makes every row taller",
     [("mainwindow/sortedlistbox.cpp", "        return drawnOnOneLine(m_entries", "        return (m_entries")]),
    ("update-list-keeps-selection", "Update list leaves the old line selected",
     [("mainwindow/sortedlistbox.cpp", "    changeQuietly([&] { m_model->setEntries(std::move(entries), alreadySorted); });",
       "    const int kept = listIndex();\n    changeQuietly([&] { m_model->setEntries(std::move(entries), alreadySorted); });\n    changeQuietly([&] { setListIndex(kept); });")]),
    # Favourites
    ("right-click-no-select", "a right-click acts on the line selected before, not the one pressed",
     [("mainwindow/sortedlistbox.cpp", "    const QModelIndex under = indexAt(event->position().toPoint());\n",
       "    emit mouseDown(event->button());\n    const QModelIndex under = indexAt(event->position().toPoint());\n"),
      ("mainwindow/sortedlistbox.cpp", "        setListIndex(under.row());\n    emit mouseDown(event->button());\n}",
       "        setListIndex(under.row());\n}")]),
    ("fav-latin1", "a favourite with an accent is written in another encoding",
     [("catalogue/favourites.cpp", "return appendLine(path, line.toUtf8(), LargestFavouritesFile);",
       "return appendLine(path, line.toLatin1(), LargestFavouritesFile);")]),
    ("fav-rewrite-recodes", "removing a favourite rewrites the others' bytes",
     [("catalogue/favourites.cpp", "        if (it != unused.end()) {", "        if (false) {")]),
    ("fav-remove-index", "removing a favourite removes its neighbour",
     [("mainwindow/form1_catalogue.cpp", "GamesList->removeItem(index);", "GamesList->removeItem(index + 1);")]),
    ("fav-line-end", "favourites are added with LF instead of CR LF",
     [("platform/textfile.cpp", '    bytes += line + "\\r\\n";\n    const ssize_t', '    bytes += line + "\\n";\n    const ssize_t')]),
    ("fav-unended-joins", "a favourite added after a last line without its end joins that line",
     [("platform/textfile.cpp", "    if (last != '\\n' && last != '\\r')\n        bytes += \"\\r\\n\";\n", "")]),
    ("fav-append-races", "two windows adding a favourite at once lose one",
     [("platform/textfile.cpp", "    while (::flock(file.get(), LOCK_EX) != 0 && errno == EINTR) {\n    }\n", ""),
      ("platform/textfile.cpp", "constexpr int Flags = O_RDWR | O_APPEND | O_NONBLOCK | O_CLOEXEC;",
       "constexpr int Flags = O_RDWR | O_NONBLOCK | O_CLOEXEC;")]),
    ("fav-half-line-kept", "a full disk leaves half a favourite in the file",
     [("platform/textfile.cpp", "        ::ftruncate(file.get(), end - written) == 0)", "        false)")]),
    ("fav-keys-swapped", "LastFull and LastFav are written under each other's key",
     [("mainwindow/form1_catalogue.cpp", 'mode == FullMode ? QStringLiteral("LastFull") : QStringLiteral("LastFav")',
       'mode == FullMode ? QStringLiteral("LastFav") : QStringLiteral("LastFull")')]),
    ("fav-any-button", "a middle click offers to add a favourite",
     [("mainwindow/form1_catalogue.cpp", "if (Button == Qt::RightButton && index >= 0)", "if (Button != Qt::LeftButton && index >= 0)")]),
    ("fav-removal-selects", "after a removal the next favourite is selected",
     [("mainwindow/sortedlistbox.cpp", "m_model->remove(index);\n        selectionModel()->clear();", "m_model->remove(index);")]),
    ("list-captions", "the frame says Favourites while the full list shows",
     [("mainwindow/form1_catalogue.cpp", 'mode == FavMode ? QStringLiteral("Games [Favourites list]")',
       'mode != FavMode ? QStringLiteral("Games [Favourites list]")')]),
    ("fav-notice-no-reason", "a favourite that cannot be saved does not say why",
     [("mainwindow/windowmessages.cpp", '.arg(file, reason);\n}\n\nQString addFavouriteQuestion', '.arg(file, QString());\n}\n\nQString addFavouriteQuestion')]),
    # Options
    ("settings-path", "options are written where the next start does not find them",
     [("desktop/inisettings.cpp", "return section + QLatin1Char('/') + key;", "return section + QLatin1Char('_') + key;")]),
    ("settings-no-sync", "an option changed just before a crash is lost",
     [("desktop/inisettings.cpp", "    m_settings->setValue(settingsPath(section, key), value);\n    m_settings->sync();\n    if (m_settings->status() == QSettings::NoError)\n        return {};\n    // QSettings keeps",
       "    m_settings->setValue(settingsPath(section, key), value);\n    if (m_settings->status() == QSettings::NoError)\n        return {};\n    // QSettings keeps")]),
    ("settings-notice-no-file", "the options notice names neither the file nor the reason",
     [("mainwindow/form1.cpp", "optionsNotSaved(m_platform.settings->location(), problem.text())", "optionsNotSaved(QString(), QString())")]),
    ("choice-keys-false", "choosing the alternate build stores both choices False",
     [("mainwindow/optionbinding.cpp", "QString textOf(const QRadioButton* button) {\n    return truthText(button->isChecked());",
       "QString textOf(const QRadioButton* button) {\n    return truthText(button->isChecked() && false);")]),
    ("truth-case", "\"true\" in small letters is not read as true",
     [("mainwindow/optionvalues.cpp", 'word.compare(QLatin1String("True"), Qt::CaseInsensitive)', 'word.compare(QLatin1String("True"), Qt::CaseSensitive)')]),
    ("rounding", "2.5 rounds to 3 instead of 2",
     [("mainwindow/optionvalues.cpp", "std::nearbyint(", "std::round(")]),
    ("int16-range", "a check box value of 40000 is taken",
     [("mainwindow/optionvalues.cpp", "std::numeric_limits<qint16>::max()", "std::numeric_limits<qint32>::max()")]),
    ("combo-range", "a stored index one past the last entry is taken",
     [("mainwindow/optionbinding.cpp", "*value >= combo->count()", "*value > combo->count()")]),
    ("slider-range", "a stored frameskip past the slider's end is taken as its end",
     [("mainwindow/optionbinding.cpp", "if (!value || *value < slider->minimum() || *value > slider->maximum())", "if (!value)")]),
    ("check-range", "a check box stored grey shows unchecked",
     [("mainwindow/optionbinding.cpp", "*value < 0 || *value > 2", "*value < 0 || *value > 1")]),
    ("grey-by-click", "a click turns a check box grey",
     [("mainwindow/twostatecheckbox.h", "    void nextCheckState() override {\n        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);\n    }\n", "")]),
    ("unseen-focus", "Tab stops on the frameskip slider below the window's edge",
     [("mainwindow/form1_controls.cpp", "    keepUnseenControlsFromFocus(client);\n", "")]),
    ("grey-enables", "a grey Additional parameters box makes its text editable",
     [("mainwindow/form1_options.cpp", "AdditionalParamCheck->checkState() == Qt::Checked", "AdditionalParamCheck->checkState() != Qt::Unchecked")]),
    # The launch
    ("grey-additional", "greyed additional parameters still reach the emulator",
     [("launch/commandline.cpp", "if (choices.additionalCheck == 1)", "if (choices.additionalCheck != 0)")]),
    ("pieces-order", "the recording piece comes before the additional parameters",
     [("launch/commandline.cpp", "    if (choices.additionalCheck == 1)\n        line += choices.additionalText + blank;\n    line += choices.extraParam;",
       "    line += choices.extraParam;\n    if (choices.additionalCheck == 1)\n        line += choices.additionalText + blank;")]),
    ("tail-blank", "the blank after the game's tail is dropped",
     [("launch/commandline.cpp", "line += choices.gameTail + blank;", "line += choices.gameTail;")]),
    ("split-keeps-quotes", "the emulator gets the image name with its quotes",
     [("launch/commandline.cpp", "            quoted = !quoted;\n            inWord = true;", "            quoted = !quoted;\n            word += c;\n            inWord = true;")]),
    ("path-first", "a program on the PATH wins over the program folder's own",
     [("launch/programlookup.cpp", "    const QString own = folder.program(word);\n    if (!own.isEmpty())\n        return own;\n    return QStandardPaths::findExecutable(word);",
       "    const QString found = QStandardPaths::findExecutable(word);\n    return found.isEmpty() ? folder.program(word) : found;")]),
    ("program-case", "MESS is not found when the file is called mess",
     [("platform/programfolder.cpp", "if (entry.compare(name, Qt::CaseInsensitive) == 0 ||", "if (entry.compare(name, Qt::CaseSensitive) == 0 ||")]),
    ("launch-folder", "the emulator starts in Tallowick's working folder, not the program folder",
     [("desktop/processstarter.cpp", "    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());\n", "")]),
    ("last-lines-first", "a failed game's notice shows its first lines of error output, not its last",
     [("platform/outputtail.cpp", "return lines.mid(qMax<qsizetype>(0, lines.size() - Lines))", "return lines.mid(0, Lines)")]),
    ("last-lines-uncut", "a failed game's notice shows a very long line whole",
     [("platform/outputtail.cpp", "lines.append(text.size() > LineLength ?", "lines.append(false ?")]),
    ("crash-unreported", "a game that crashes is not reported",
     [("desktop/processstarter.cpp", "        else if (WIFSIGNALED(status) && !isStopRequest(WTERMSIG(status)))", "        else if (false)")]),
    ("stop-reported", "a game the user ended with SIGTERM is reported as a crash",
     [("desktop/processstarter.cpp", "    return signal == SIGINT || signal == SIGTERM ||", "    return signal == SIGINT ||")]),
    ("errors-unbounded", "a game's error output fills the temporary folder",
     [("desktop/processstarter.cpp", "            if (m_errorFd >= 0)\n                keepSmall(m_errorFd);\n", "")]),
    ("no-temp-no-game", "a temporary folder that cannot take the error file stops every game",
     [("desktop/processstarter.cpp", "    const int errorFd = unnamedFile();\n", "    const int errorFd = unnamedFile();\n    if (errorFd < 0)\n        return false;\n")]),
    # Update systems
    ("regen-exit-code", "a listing from an emulator that failed replaces the systems list",
     [("catalogue/systemsregeneration.cpp", "if (result.outcome != hvl_ShellTools::ShellResult::Finished || result.exitCode != 0)",
       "if (result.outcome != hvl_ShellTools::ShellResult::Finished)")]),
    ("regen-empty", "an empty listing replaces the systems list",
     [("catalogue/cataloguemessages.cpp", "    if (listing.systems.empty())\n", "    if (false)\n")]),
    ("regen-no-reason", "a failed update does not say what the emulator said",
     [("catalogue/cataloguemessages.cpp", "    return text + lastWordsParagraph(result.lastErrors);", "    return text;")]),
    ("regen-link-replaced", "Update systems replaces a linked systems list with a file",
     [("catalogue/systemsregeneration.cpp", "    m_systemsList = finalTarget(folder.systemsFile());", "    m_systemsList = folder.systemsFile();")]),
    ("regen-temp-kept", "a failed update leaves its temporary listing behind",
     [("catalogue/systemsregeneration.cpp", "    if (!m_listing.isEmpty())\n        QFile::remove(m_listing);", "    if (false)\n        QFile::remove(m_listing);")]),
    ("shell-quote", "a folder with a quote in its name breaks Update systems",
     [("shelltools/hvl_shelltools.cpp", "quoted.replace(QLatin1String(\"'\"), QLatin1String(\"'\\\\''\"));", "")]),
    ("wait-takes-input", "a click reaches the window while Update systems waits",
     [("shelltools/hvl_shelltools.cpp", "if (!event->spontaneous() || !isUserInput(event->type()))", "if (true)")]),
    ("notice-in-wait", "a game's notice opens inside the wait and freezes the window",
     [("mainwindow/form1.cpp", "    if (m_updating || QApplication::activeModalWidget()) {", "    if (QApplication::activeModalWidget()) {")]),
    ("close-ignores-update", "closing the window during Update systems leaves the emulator running",
     [("mainwindow/form1.cpp", "    if (m_updating) {\n        m_closeAfterUpdate = true;", "    if (false) {\n        m_closeAfterUpdate = true;")]),
    ("cancel-spares-group", "Cancel ends the shell but not the emulator it started",
     [("shelltools/shellrun.cpp", "    m_shell.setChildProcessModifier([] { ::setpgid(0, 0); });\n", "")]),
    ("errors-unkept-after-close", "a game's error output fills the disk once Tallowick is closed",
     [("desktop/processstarter.cpp", "            keepSmallUntilItEnds(m_pidFd, m_errorFd);\n", "")]),
    # The MAME adapter
    ("adapter-media-name", "the image goes to MAME under the media's long name",
     [("mameadapter/main.cpp", 'mameArguments.push_back("-" + media->brief);', 'mameArguments.push_back("-" + media->name);')]),
    ("adapter-zip", "a zipped image finds no media",
     [("mameadapter/listmedia.cpp", 'if ((extension == "zip" || extension == "7z") && !media.empty())', "if (false)")]),
    ("adapter-rompath-order", "MAME looks in its own folders before the user's ROMS/",
     [("mameadapter/main.cpp", 'return {{"-rompath", romsFolder + ";" + *own},', 'return {{"-rompath", *own + ";" + romsFolder},')]),
    ("adapter-own-rompath-lost", "a -rompath the user typed is overridden",
     [("mameadapter/main.cpp", 'return option == "-rompath" || option == "-rp";', 'return false;')]),
    ("adapter-alsa-noise", "sound-library complaints crowd out MAME's reason",
     [("mameadapter/mameoutput.cpp", 'return startsWith(errorLine, "ALSA lib ");', "return false;")]),
    ("adapter-dash-image", "an image named like an option reaches MAME as one",
     [("mameadapter/main.cpp", "        if (image[0] == '-')\n", "        if (false)\n")]),
    ("adapter-crash-as-exit", "a game that crashed in MAME looks like one that exited",
     [("mameadapter/processes.cpp", "    std::signal(run.signal, SIG_DFL);", "    std::exit(128 + run.signal);\n    std::signal(run.signal, SIG_DFL);")]),
    ("adapter-inp", "a recording's name reaches MAME without .inp",
     [("mameadapter/restarguments.cpp", 'endsWithInp(name) ? name : name + ".inp";', "name;")]),
]


def run(command, cwd, log, env=None):
    with open(log, "ab") as out:
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, env=env).returncode


def stale_edits(tree, faults):
    """The faults whose edits do not each find their text exactly once in the tree."""
    stale = []
    for fault_id, _, edits in faults:
        texts = {}
        for path, old, new in edits:
            full = os.path.join(tree, path)
            if path not in texts:
                texts[path] = open(full, encoding="utf-8").read() if os.path.exists(full) else ""
            if texts[path].count(old) != 1:
                stale.append((fault_id, path, old.splitlines()[0] if old else old))
                break
            texts[path] = texts[path].replace(old, new)
    return stale


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--rev", default="HEAD", help="the commit the faults are planted in")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--only", nargs="*", default=None)
    parser.add_argument("--list", action="store_true", help="list the faults and check none is stale")
    parser.add_argument("--keep", action="store_true", help="keep the worktree and its build")
    args = parser.parse_args()
    faults = [f for f in FAULTS if args.only is None or f[0] in args.only]

    work = tempfile.mkdtemp(prefix="tallowick-faults-")
    tree = os.path.join(work, "tree")
    log = os.path.join(work, "faults.log")
    if run(["git", "-C", repo, "worktree", "add", "--detach", tree, args.rev], repo, log):
        print(f"no worktree of {args.rev} could be made; see {log}")
        return 2
    try:
        stale = stale_edits(tree, faults)
        if args.list or stale:
            for fault_id, what, _ in faults:
                print(f"{fault_id:28} {what}")
            for fault_id, path, text in stale:
                print(f"STALE {fault_id}: not found exactly once in {path}: {text}")
            return 1 if stale else 0
        return plant_all(tree, faults, args.jobs, log)
    finally:
        if args.keep:
            print(f"kept {work}")
        else:
            subprocess.run(["git", "-C", repo, "worktree", "remove", "--force", tree],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            shutil.rmtree(work, ignore_errors=True)


def plant_all(tree, faults, jobs, log):
    build = os.path.join(tree, "build")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    ctest = ["ctest", "--test-dir", build, "-j", str(jobs), "--timeout", "120"]
    if run(["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], tree, log) or \
            run(["cmake", "--build", build, "-j", str(jobs)], tree, log) or run(ctest, tree, log, env):
        print(f"the unchanged tree does not build or pass its tests; see {log}")
        return 2

    results = []
    for fault_id, what, edits in faults:
        started = time.time()
        for path, old, new in edits:
            full = os.path.join(tree, path)
            text = open(full, encoding="utf-8").read()
            open(full, "w", encoding="utf-8").write(text.replace(old, new))
        with open(log, "a") as out:
            out.write(f"\n==== {fault_id}\n")
        if run(["cmake", "--build", build, "-j", str(jobs)], tree, log):
            state = "no-build"
        else:
            state = "missed" if run(ctest, tree, log, env) == 0 else "caught"
        run(["git", "checkout", "--"] + sorted({path for path, _, _ in edits}), tree, log)
        results.append((fault_id, state, what))
        print(f"{fault_id:28} {state:8} {time.time() - started:5.0f} s", flush=True)

    caught = sum(1 for r in results if r[1] == "caught")
    print(f"\ncaught {caught} of {len(results)}")
    for fault_id, state, what in results:
        if state != "caught":
            print(f"  {state:8} {fault_id}: {what}")
    return 0 if caught == len(results) else 3


if __name__ == "__main__":
    sys.exit(main())
