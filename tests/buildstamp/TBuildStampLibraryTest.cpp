// A program that uses the tbuildstamp library alone reads its own version resource.
#include "buildstamp/BuildStamp.h"

#include <QtTest>

class TBuildStampLibraryTest : public QObject {
    Q_OBJECT
private slots:
    void ReadsOwnResourceThroughProperties()
    {
        TBuildStamp stamp;
        QCOMPARE(stamp.property("ProductName").toString(), QStringLiteral("Library Client"));
        QCOMPARE(stamp.property("FileVersion").toString(), QStringLiteral("1.0"));
        QCOMPARE(stamp.property("MajorVersion").toString(), QStringLiteral("1"));
        QCOMPARE(stamp.property("MinorVersion").toString(), QStringLiteral("0"));
        QCOMPARE(stamp.property("Release").toString(), QString());
        QCOMPARE(stamp.property("Build").toString(), QString());
        QCOMPARE(stamp.property("CompanyName").toString(), QString());
    }
};

QTEST_GUILESS_MAIN(TBuildStampLibraryTest)
#include "TBuildStampLibraryTest.moc"
