#!/usr/bin/env python3
"""Seeds realistic faults into the product code, one at a time, and tells which the tests catch.

    tools/faults.py [--repo DIR] [--build DIR] [--jobs N] [--only ID ...] [--list]

For each fault: the edit is made in the checkout, the build is brought up to date, every test
runs (offscreen, as `./build.sh test` runs them), and the edit is undone. A fault is "caught"
when a test fails, "missed" when every test passes. A fault whose text is not found exactly once
is "stale": the code moved and the fault's text must follow it. Each fault may name several
alternative edits; the first whose every text is found exactly once is the one applied, so one
list serves the code before and after a move.

The checkout is left as it was found, also when this is interrupted.
"""

import argparse
import os
import subprocess
import sys
import time

# (id, what a user would see go wrong, [alternative: [(file, text, replacement), ...], ...])
FAULTS = [
    ("systems-column", "descriptions lose their first letter (column 13 taken for 12)", [
        [("catalogue/systemsfile.cpp", "line.mid(11, size - 12)", "line.mid(12, size - 12)")],
        [("catalogue/systemsfile.cpp", "line.mid(11, line.size() - 12)", "line.mid(12, line.size() - 12)")],
    ]),
    ("systems-header-read", "the header line shows up as a system", [
        [("catalogue/systemsfile.cpp", "if (number == 0)\n            return;", "if (number < 0)\n            return;")],
        [("catalogue/systemsfile.cpp", "for (qsizetype i = 1; i < lines->size(); ++i)",
          "for (qsizetype i = 0; i < lines->size(); ++i)")],
    ]),
    ("systems-first-match", "a description listed twice shows the games of the first, not the last", [
        [("catalogue/systemsfile.cpp", "for (auto it = systems.rbegin(); it != systems.rend(); ++it)",
          "for (auto it = systems.begin(); it != systems.end(); ++it)")],
    ]),
    ("shortname-width", "a fixed-column short name takes column 9 too", [
        [("catalogue/systemsfile.cpp", "line.left(8).trimmed()", "line.left(9).trimmed()")],
    ]),
    ("dirtxt-case", "DIR.TXT shows up as a game (the check minds letter case)", [
        [("catalogue/gameslist.cpp", 'QLatin1String("dir.txt"), Qt::CaseInsensitive',
          'QLatin1String("dir.txt"), Qt::CaseSensitive')],
    ]),
    ("dirtxt-missing", "dir.txt shows up as a game", [
        [("catalogue/gameslist.cpp", 'name.compare(QLatin1String("dir.txt"), Qt::CaseInsensitive) == 0 ||',
          "")],
    ]),
    ("hidden-files", "hidden files show up as games and recordings", [
        [("platform/folderlisting.cpp", "if (entry->d_name[0] == '.')\n            continue;", "")],
        [("catalogue/folderlisting.cpp", "if (entry->d_name[0] == '.')\n            continue;", "")],
    ]),
    ("links-dropped", "a link to an image is not listed", [
        [("platform/folderlisting.cpp", "entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN",
          "entry->d_type == DT_UNKNOWN")],
        [("catalogue/folderlisting.cpp", "entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN",
          "entry->d_type == DT_UNKNOWN")],
    ]),
    ("sort-case", "the lists sort capitals before small letters", [
        [("platform/textorder.cpp", "c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c", "c")],
        [("catalogue/gameslist.cpp", "return QString::compare(a, b, Qt::CaseInsensitive) < 0;",
          "return QString::compare(a, b, Qt::CaseSensitive) < 0;")],
    ]),
    ("line-padding", "the command tail starts at column 63", [
        [("catalogue/gameline.cpp", "QString(NameColumns - fileName.size(), QLatin1Char(' '))",
          "QString(NameColumns - fileName.size() - 1, QLatin1Char(' '))")],
        [("catalogue/gameline.cpp", "QString(NameColumns - shown.size(), QLatin1Char(' '))",
          "QString(NameColumns - shown.size() - 1, QLatin1Char(' '))")],
    ]),
    ("tail-column", "the launch takes the tail from column 63", [
        [("catalogue/gameline.cpp", "return line.mid(NameColumns);", "return line.mid(NameColumns - 1);")],
    ]),
    ("closing-quote", "the image name loses its closing quote on the command line", [
        [("catalogue/gameline.cpp", "    line += fileName;\n    line += QLatin1Char('\"');",
          "    line += fileName;")],
    ]),
    ("name-untrimmed", "messages show the name with the line's blanks", [
        [("catalogue/gameline.cpp", "return line.left(NameColumns).trimmed();",
          "return line.left(NameColumns);")],
        [("catalogue/gameline.cpp", "const QString shown = line.left(NameColumns).trimmed();",
          "const QString shown = line.left(NameColumns);")],
    ]),
    ("grey-additional", "greyed additional parameters still reach the emulator", [
        [("launch/commandline.cpp", "if (choices.additionalCheck == 1)", "if (choices.additionalCheck != 0)")],
    ]),
    ("tail-blank", "the blank after the game's tail is dropped", [
        [("launch/commandline.cpp", "line += choices.gameTail + blank;", "line += choices.gameTail;")],
    ]),
    ("split-tabs", "a tab no longer separates words of the command line", [
        [("launch/commandline.cpp", "return c == QLatin1Char(' ') || c == QLatin1Char('\\t');",
          "return c == QLatin1Char(' ');")],
    ]),
    ("split-keeps-quotes", "the emulator gets the image name with its quotes", [
        [("launch/commandline.cpp", "            quoted = !quoted;\n",
          "            quoted = !quoted;\n            word += c;\n")],
    ]),
    ("program-case", "MESS is not found when the file is called mess", [
        [("platform/programfolder.cpp", "if (entry.compare(name, Qt::CaseInsensitive) == 0 ||",
          "if (entry.compare(name, Qt::CaseSensitive) == 0 ||")],
        [("launch/programlookup.cpp", "entry.compare(name, Qt::CaseInsensitive) != 0 &&",
          "entry.compare(name, Qt::CaseSensitive) != 0 &&")],
    ]),
    ("launch-folder", "the emulator starts in the wrong working folder", [
        [("mainwindow/form1_launch.cpp", "command.arguments, m_platform.programFolder)",
          "command.arguments, QString())")],
        [("mainwindow/form1_launch.cpp", "command.arguments, m_platform.folder.path(), failed)",
          "command.arguments, QString(), failed)")],
    ]),
    ("fav-remove-index", "removing a favourite removes its neighbour", [
        [("mainwindow/form1_catalogue.cpp", "GamesList->removeItem(index);", "GamesList->removeItem(index + 1);")],
    ]),
    ("fav-line-end", "favourites are written with LF instead of CR LF", [
        [("catalogue/favourites.cpp", 'bytes += line.toUtf8() + "\\r\\n";', 'bytes += line.toUtf8() + "\\n";')],
        [("platform/textfile.cpp", '    bytes += line + "\\r\\n";\n    const ssize_t',
          '    bytes += line + "\\n";\n    const ssize_t')],
    ]),
    ("fav-keys-swapped", "LastFull and LastFav are written under each other's key", [
        [("mainwindow/form1_catalogue.cpp",
          'mode == FullMode ? QStringLiteral("LastFull") : QStringLiteral("LastFav")',
          'mode == FullMode ? QStringLiteral("LastFav") : QStringLiteral("LastFull")')],
    ]),
    ("fav-any-button", "a middle click offers to add a favourite", [
        [("mainwindow/form1_catalogue.cpp", "if (Button != Qt::RightButton || index < 0)",
          "if (Button == Qt::LeftButton || index < 0)")],
    ]),
    ("fav-removal-selects", "after a removal the next favourite is selected", [
        [("mainwindow/sortedlistbox.cpp", "m_model->remove(index);\n        selectionModel()->clear();",
          "m_model->remove(index);")],
    ]),
    ("regen-exit-code", "a listing from an emulator that failed replaces the systems list", [
        [("catalogue/systemsregeneration.cpp",
          "if (result.outcome != ShellResult::Finished || result.exitCode != 0)",
          "if (result.outcome != ShellResult::Finished)")],
    ]),
    ("regen-empty", "an empty listing replaces the systems list", [
        [("catalogue/systemsregeneration.cpp", "    if (file.systems.empty())\n", "    if (false)\n")],
        [("catalogue/systemsregeneration.cpp", "else if (!holdsSystems(listing))", "else if (false)")],
    ]),
    ("shell-quote", "a folder with a quote in its name breaks Update systems", [
        [("shelltools/hvl_shelltools.cpp",
          "quoted.replace(QLatin1String(\"'\"), QLatin1String(\"'\\\\''\"));", "")],
    ]),
    ("truth-case", "\"true\" in small letters is not read as true", [
        [("mainwindow/optionvalues.cpp", 'word.compare(QLatin1String("True"), Qt::CaseInsensitive)',
          'word.compare(QLatin1String("True"), Qt::CaseSensitive)')],
    ]),
    ("rounding", "2.5 rounds to 3 instead of 2", [
        [("mainwindow/optionvalues.cpp", "std::nearbyint(", "std::round(")],
    ]),
    ("int16-range", "a check box value of 40000 is taken", [
        [("mainwindow/optionvalues.cpp", "std::numeric_limits<qint16>::max()", "std::numeric_limits<qint32>::max()")],
    ]),
    ("combo-range", "a stored index one past the last entry is taken", [
        [("mainwindow/form1_options.cpp", "*value >= combo->count()", "*value > combo->count()")],
        [("mainwindow/optionbinding.cpp", "*value >= combo->count()", "*value > combo->count()")],
    ]),
    ("grey-enables", "a grey Additional parameters box makes its text editable", [
        [("mainwindow/form1_options.cpp", "AdditionalParamCheck->checkState() == Qt::Checked",
          "AdditionalParamCheck->checkState() != Qt::Unchecked")],
    ]),
    ("default-alternate", "the alternate build's default name is Pmame31", [
        [("mainwindow/optiontable.cpp", '"pmame31"', '"Pmame31"')],
        [("mainwindow/optionbinding.cpp", '"pmame31"', '"Pmame31"')],
    ]),
    ("recording-name", "a recording keeps a letter of its extension", [
        [("launch/recordings.cpp", "name.size() - 4", "name.size() - 3")],
    ]),
    ("first-system", "the start-up selects the last system, not the first", [
        [("mainwindow/form1_catalogue.cpp", "EmulatedSystemList->setListIndex(0);",
          "EmulatedSystemList->setListIndex(EmulatedSystemList->count() - 1);")],
    ]),
    ("mail-subject", "the e-mail's subject is percent-encoded", [
        [("about/helptargets.cpp", 'QStringLiteral(" program")', 'QStringLiteral("%20program")')],
    ]),
    ("full-disk", "a full disk leaves a cut favourites file", [
        [("platform/textfile.cpp", "if (file.write(bytes) != bytes.size() || !file.flush()) {",
          "if (file.write(bytes) != bytes.size()) {")],
        [("catalogue/textfile.cpp", "if (file.write(bytes) != bytes.size() || !file.flush()) {",
          "if (file.write(bytes) != bytes.size()) {")],
    ]),
    ("special-files", "a pipe or a device in place of a file is read", [
        [("platform/textfile.cpp", "    if (!S_ISREG(info.st_mode))\n        return {FileProblem::NotAFile",
          "    if (false)\n        return {FileProblem::NotAFile")],
    ]),
    ("line-bound", "a line of a corrupt file is held whole, however long", [
        [("platform/textfile.cpp", "if (m_line.size() + size > LongestLine) {", "if (false) {")],
    ]),
    ("append-own-line", "a favourite joins a hand-edited last line that has no line end", [
        [("platform/textfile.cpp", "if (last != '\\n' && last != '\\r')", "if (false)")],
    ]),
    ("settings-pipe", "a settings file that is a pipe is opened (the start-up hangs)", [
        [("platform/inisettings.cpp", "return S_ISREG(info.st_mode) && info.st_size <= LargestSettingsFile;",
          "return info.st_size <= LargestSettingsFile;")],
    ]),
    ("quote-layout", "a quote right after the name is read as today's layout", [
        [("catalogue/systemsfile.cpp", "nameEnd > 0 && quote > nameEnd && quote < size", "nameEnd > 0 && quote < size")],
    ]),
    ("long-name-shown", "a long name pushes the command tail past column 64", [
        [("catalogue/gameline.cpp", "QString shown = fileName.left(NameColumns);", "QString shown = fileName;")],
    ]),
    ("folder-case", "ROMS/NES is not found for the system nes", [
        [("platform/programfolder.cpp", "if (entry.compare(name, Qt::CaseInsensitive) == 0 && (found",
          "if (entry.compare(name, Qt::CaseSensitive) == 0 && (found")],
    ]),
    ("accents", "accented names sort after Z", [
        [("platform/textorder.cpp", "while (QChar::decompositionTag(base) == QChar::Canonical)", "while (false)")],
    ]),
    ("selection-cleared", "Ctrl+click on the selected system clears the selection", [
        [("mainwindow/sortedlistbox.cpp", "if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))",
          "if (false)")],
    ]),
    ("markup-label", "a file name is taken for markup in the command line label", [
        [("mainwindow/form1_controls.cpp", "label->setTextFormat(Qt::PlainText);", "")],
    ]),
    ("notice-on-success", "a game that ends normally is reported as refused", [
        [("platform/processstarter.cpp", "WEXITSTATUS(status) != 0 && m_failed", "m_failed")],
    ]),
    ("adapter-pb", "-pb is not taken for -playback", [
        [("mameadapter/restarguments.cpp", 'option == "-playback" || option == "-pb" ||', 'option == "-playback" ||')],
    ]),
    ("adapter-all-systems", "the systems list holds devices and machines without media", [
        [("mameadapter/main.cpp", "            keepSystems(full.output, systems);", "            {}")],
    ]),
    ("adapter-media-name", "MAME gets the media's name (-cartridge) instead of its brief (-cart)", [
        [("mameadapter/main.cpp", 'mameArguments.push_back("-" + media->brief);',
          'mameArguments.push_back("-" + media->name);')],
    ]),
    ("adapter-zip", "a zipped image finds no media", [
        [("mameadapter/listmedia.cpp", 'if ((extension == "zip" || extension == "7z") && !media.empty())',
          'if (false)')],
    ]),
]


def run(command, cwd, log, env=None):
    with open(log, "ab") as out:
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, env=env).returncode


def chosen_edits(repo, alternatives):
    for edits in alternatives:
        texts = {}
        for path, old, _ in edits:
            full = os.path.join(repo, path)
            if not os.path.exists(full):
                break
            text = texts.get(path) or open(full, encoding="utf-8").read()
            if text.count(old) != 1:
                break
            texts[path] = text
        else:
            return edits
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--repo", default=here)
    parser.add_argument("--build", default=None, help="build folder (default: REPO/build-faults)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--only", nargs="*", default=None)
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    repo = os.path.abspath(args.repo)
    build = os.path.abspath(args.build or os.path.join(repo, "build-faults"))
    faults = [f for f in FAULTS if args.only is None or f[0] in args.only]

    if args.list:
        for fault_id, what, alternatives in faults:
            state = "ok" if chosen_edits(repo, alternatives) else "stale"
            print(f"{fault_id:22} {state:6} {what}")
        return 0

    log = os.path.join(build, "faults.log")
    os.makedirs(build, exist_ok=True)
    open(log, "w").close()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    ctest = ["ctest", "--test-dir", build, "-j", str(args.jobs), "--timeout", "120"]
    if run(["cmake", "-S", repo, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], repo, log) or \
            run(["cmake", "--build", build, "-j", str(args.jobs)], repo, log) or run(ctest, repo, log, env):
        print(f"the unchanged checkout does not build or pass its tests; see {log}")
        return 2

    results = []
    for fault_id, what, alternatives in faults:
        edits = chosen_edits(repo, alternatives)
        if edits is None:
            results.append((fault_id, "stale", what))
            print(f"{fault_id:22} stale", flush=True)
            continue
        originals = {}
        try:
            for path, old, new in edits:
                full = os.path.join(repo, path)
                originals.setdefault(full, open(full, encoding="utf-8").read())
                text = open(full, encoding="utf-8").read()
                open(full, "w", encoding="utf-8").write(text.replace(old, new))
            with open(log, "a") as out:
                out.write(f"\n==== {fault_id}\n")
            started = time.time()
            if run(["cmake", "--build", build, "-j", str(args.jobs)], repo, log):
                state = "no-build"
            else:
                state = "missed" if run(ctest, repo, log, env) == 0 else "caught"
        finally:
            for full, text in originals.items():
                open(full, "w", encoding="utf-8").write(text)
        results.append((fault_id, state, what))
        print(f"{fault_id:22} {state:8} {time.time() - started:5.0f} s", flush=True)

    caught = sum(1 for r in results if r[1] == "caught")
    print(f"\ncaught {caught} of {len(results)}")
    for fault_id, state, what in results:
        if state != "caught":
            print(f"  {state:8} {fault_id}: {what}")
    run(["cmake", "--build", build, "-j", str(args.jobs)], repo, log)
    return 0


if __name__ == "__main__":
    sys.exit(main())
