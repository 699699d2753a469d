#include "data/demo/DirectoryFiles.h"

#include "core/StagedFile.h"
#include "data/DemoRegister.h"
#include "data/demo/Codes.h"
#include "data/demo/Vocabulary.h"
#include "data/dbf/CodePage1250.h"

namespace velmor::data::demo {

void writeTextFile(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += dbf::cp1250::encode(line) + "\r\n";
    try {
        StagedFile::replace(path, bytes);
    } catch (const WriteError& e) {
        throw DemoError(e.message());
    }
}

void writeVillageList(const QString& dataDirectory)
{
    QStringList lines;
    for (const char* v : kVillages)
        lines << QString::fromUtf8(v);
    writeTextFile(dataDirectory + QStringLiteral("/Sate.lst"), lines);
}

void writeSettingsFile(const QString& dataDirectory, const SettingsContents& contents)
{
    const QStringList tariffs = {
        QStringLiteral("350"), QStringLiteral("180"), QStringLiteral("900"), QStringLiteral("700"),
        QStringLiteral("120"), QStringLiteral("450"), QStringLiteral("300"), QStringLiteral("60"),
        QStringLiteral("150"), QStringLiteral("8.5"), QStringLiteral("80"),  QStringLiteral("300"),
        QStringLiteral("150"), QStringLiteral("800"), QStringLiteral("600"), QStringLiteral("100"),
    };
    QStringList lines {
        QStringLiteral("[CONSTANTE]"),
        QStringLiteral("NumePrimarie=PRIMARIA COMUNEI STEJARU"),
        QStringLiteral("Comuna=STEJARU"),
        QStringLiteral("CodFiscal=") + withTaxCheckDigit(261432),
        QStringLiteral("JUDET=") + QString::fromLatin1(kCouncilCounty),
        QStringLiteral("PRIMAR=IONESCU GHEORGHE"),
        QStringLiteral("SECRETAR=MUNTEANU ELENA"),
        QStringLiteral("TIPLOC=COMUNA"),
        QString(),
        QStringLiteral("[CONST]"),
        QStringLiteral("BIFCAP2=NU"),
        QStringLiteral("INTOCMIT=RUSU MARIA"),
        QStringLiteral("SIRUTA=123456"),
        QStringLiteral("HOTARARE=HCL NR. 14 / 28.01.%1").arg(contents.lastYear),
    };
    for (int n = 1; n <= int(tariffs.size()); ++n)
        lines << QStringLiteral("Tariful%1=%2").arg(n).arg(tariffs[n - 1]);
    lines << QString() << QStringLiteral("[INDEX]")
          << QStringLiteral("CODID=%1").arg(contents.lastCodid + 1)
          << QStringLiteral("COD1=%1").arg(contents.lastCod1 + 1)
          << QStringLiteral("CODT=%1").arg(contents.lastCodt + 1)
          << QStringLiteral("ADEVNR=%1").arg(1 + contents.households / 8)
          << QStringLiteral("RAGR2=%1").arg(contents.lastYear - contents.firstYear + 1)
          << QString() << QStringLiteral("[TEMP]")
          << QStringLiteral("POZLAST=%1").arg(contents.lastAdded.second)
          << QStringLiteral("VOLLAST=%1").arg(contents.lastAdded.first);
    writeTextFile(dataDirectory + QStringLiteral("/Velmor.ini"), lines);
}

}
