// The run-wide state services: council profile and working year.

#include "services/CouncilProfile.h"
#include "services/WorkingYear.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace velmor;

TEST(WorkingYear, ListChoiceReloadAndSignals)
{
    WorkingYear year;
    QSignalSpy changed(&year, &WorkingYear::changed);
    QSignalSpy listed(&year, &WorkingYear::yearsChanged);

    year.reload(); // no loader yet: nothing happens
    EXPECT_TRUE(year.text().isEmpty());
    EXPECT_EQ(listed.count(), 0);

    year.setYears({QStringLiteral("2019"), QStringLiteral("2020"), QStringLiteral("2026")});
    EXPECT_EQ(year.text(), QStringLiteral("2026")) << "the last year is the working year";
    EXPECT_EQ(listed.count(), 1);
    EXPECT_EQ(changed.count(), 1);

    year.setText(QStringLiteral("2019"));
    year.setText(QStringLiteral("2019"));
    EXPECT_EQ(changed.count(), 2) << "the same year again is no change";

    int loads = 0;
    year.setLoader([&loads] {
        ++loads;
        return QStringList {QStringLiteral("2025"), QStringLiteral("2026")};
    });
    year.reload();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(year.years(), (QStringList {QStringLiteral("2025"), QStringLiteral("2026")}));
    EXPECT_EQ(year.text(), QStringLiteral("2026"));

    year.setYears({});
    EXPECT_TRUE(year.text().isEmpty());
}

TEST(CouncilProfile, ChangesAreAnnouncedOnce)
{
    CouncilProfile profile;
    QSignalSpy changed(&profile, &CouncilProfile::changed);
    EXPECT_EQ(profile.backupDirectory(), QStringLiteral("-"));

    profile.setVillages({QStringLiteral("SAT NOU")});
    profile.setVillages({QStringLiteral("SAT NOU")});
    CouncilConstants constants;
    constants.Comuna = QStringLiteral("Ștefănești");
    constants.TIPLOC = QStringLiteral("COMUNA");
    profile.setConstants(constants);
    profile.setConstants(constants);
    profile.setBackupDirectory(QStringLiteral("/mnt/stick"));
    EXPECT_EQ(changed.count(), 3);

    profile.setBackupDirectory(QString());
    EXPECT_EQ(profile.backupDirectory(), QStringLiteral("-")) << "no directory reads as \"-\"";
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(profile.constants().Comuna, QStringLiteral("Ștefănești"));
    EXPECT_EQ(TipLocalitate(profile.constants().TIPLOC), QStringLiteral("comunei"));
}
