#pragma once

#include <QString>

#include <optional>

namespace velmor::reports {

// The numbered output files of a report, "<stem>0<ext>" .. "<stem>100<ext>" in a folder. A name is
// free when no file has it, or when the file there can be replaced: not read-only and not held
// open by a spreadsheet program (a LibreOffice lock file ".~lock.<name>#" beside it).
class OutputSlots {
public:
    static constexpr int Count = 101;

    OutputSlots(QString directory, QString stem, QString extension);

    QString path(int n) const;
    bool inUse(int n) const;

    // Puts a complete file (in the same folder) under the first free name, replacing an older
    // output there only now. Returns the name taken; nullopt when every name is in use (the file
    // stays where it was).
    std::optional<QString> place(const QString& finishedFile) const;

private:
    QString m_directory;
    QString m_stem;
    QString m_extension;
};

}
