#pragma once

#include "shelltools/shellrun.h"

#include <QString>

class ProgramFolder;

// A new systems list asked of the emulator MESS of the program folder: the command line that
// makes it write its -listfull listing into a temporary file beside the systems list, and the
// step that makes that listing the systems list in one go when the run ended well with at least
// one system. On every other outcome the systems list stays exactly as it was, and the temporary
// file goes with this object. A systems list that is a link stays a link: the file it points to
// is the one replaced.
class SystemsRegeneration {
public:
    explicit SystemsRegeneration(const ProgramFolder& folder);
    ~SystemsRegeneration();
    SystemsRegeneration(const SystemsRegeneration&) = delete;
    SystemsRegeneration& operator=(const SystemsRegeneration&) = delete;

    // Why the emulator cannot be asked; empty when the command line is ready to run.
    const QString& trouble() const { return m_trouble; }
    // For /bin/sh, in the program folder.
    const QString& commandLine() const { return m_commandLine; }

    // Makes the listing the systems list when the run ended well; otherwise says what to tell the
    // user. Empty on success.
    QString finish(const hvl_ShellTools::ShellResult& result);

private:
    QString m_emulator;
    QString m_systemsList; // the file that is replaced: the link's target for a link
    QString m_listing;     // the temporary file, until it is removed or becomes the list
    QString m_commandLine;
    QString m_trouble;
};
