#include "about/frmAbout2.h"
#include "support/FakePlatform.h"
#include "support/PropertyRecorder.h"

#include <QTest>

using namespace kamorin;

namespace {

// A platform whose version data cannot be read, so Form_Load fails midway.
class BrokenVersionPlatform : public test::FakePlatform
{
public:
    AppVersion appVersion() const override { throw RuntimeError(ErrorNumber::Overflow); }
};

} // namespace

class TestFrmAbout2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formLoadSetsTheThreeTexts();
    void versionShowsMajorMinorRevision_data();
    void versionShowsMajorMinorRevision();
    void formLoadAssignsCaptionThenVersionThenTitle();
    void loadingBringsBackTheDesignBeforeFormLoad();
    void failedFormLoadLeavesTheDialogUnloaded();
    void okUnloadsAndTheMenuShows();
};

void TestFrmAbout2::formLoadSetsTheThreeTexts()
{
    frmAbout2 form;
    test::FakePlatform platform;
    Form_Load(form, platform);
    QCOMPARE(form.caption(), QStringLiteral("Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(form.lblVersion.caption(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.7"));
    QCOMPARE(form.lblTitle.caption(), QStringLiteral("Kamorin(ＫＴ版)"));
}

void TestFrmAbout2::versionShowsMajorMinorRevision_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.2.0.7") << 1 << 2 << 7 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.7");
    QTest::newRow("10.0.0.12, unpadded") << 10 << 0 << 12 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.0.12");
    QTest::newRow("largest") << 32767 << 32767 << 32767
                             << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 32767.32767.32767");
}

void TestFrmAbout2::versionShowsMajorMinorRevision()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);
    frmAbout2 form;
    test::FakePlatform platform;
    platform.version = { static_cast<std::int16_t>(major), static_cast<std::int16_t>(minor),
                         static_cast<std::int16_t>(revision) };
    Form_Load(form, platform);
    QCOMPARE(form.lblVersion.caption(), expected);
}

void TestFrmAbout2::formLoadAssignsCaptionThenVersionThenTitle()
{
    frmAbout2 form;
    test::FakePlatform platform;
    test::PropertyRecorder recorder(form.observers);
    form.captionChanged
        = [&] { recorder.assignments.push_back(QStringLiteral("frmAbout2.Caption")); };
    Form_Load(form, platform);
    QCOMPARE(recorder.assignments,
             std::vector<QString>({ QStringLiteral("frmAbout2.Caption"),
                                    QStringLiteral("lblVersion.Text"),
                                    QStringLiteral("lblTitle.Text") }));
}

void TestFrmAbout2::loadingBringsBackTheDesignBeforeFormLoad()
{
    frmAbout2 form;
    test::FakePlatform platform;
    QVERIFY(!form.isLoaded());
    form.load(platform);
    QVERIFY(form.isLoaded());

    form.unload();
    form.lblTitle.setCaption(QStringLiteral("left over"));
    form.lblVersion.setWidth(0);
    form.cmdOK.setCaption(QStringLiteral("left over"));
    form.cmdOK.setEnabled(false);
    form.load(platform);
    QCOMPARE(form.lblTitle.caption(), QStringLiteral("Kamorin(ＫＴ版)"));
    QCOMPARE(form.lblVersion.width(), 1725.0f);
    QCOMPARE(form.cmdOK.caption(), QStringLiteral("OK"));
    QVERIFY(form.cmdOK.enabled());
}

void TestFrmAbout2::failedFormLoadLeavesTheDialogUnloaded()
{
    frmAbout2 form;
    BrokenVersionPlatform platform;
    QVERIFY_THROWS_EXCEPTION(RuntimeError, form.load(platform));
    QVERIFY(!form.isLoaded());
}

void TestFrmAbout2::okUnloadsAndTheMenuShows()
{
    frmAbout2 form;
    test::FakePlatform platform;
    Ver_Click(form, platform);
    QCOMPARE(platform.shown, std::vector<Form *>({ &form }));
    QVERIFY(platform.unloaded.empty());
    cmdOK_Click(form, platform);
    QCOMPARE(platform.unloaded, std::vector<Form *>({ &form }));
}

QTEST_APPLESS_MAIN(TestFrmAbout2)
#include "tst_frmabout2.moc"
