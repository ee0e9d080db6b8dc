#include "about/frmAbout2.h"
#include "support/FakePlatform.h"
#include "support/PropertyRecorder.h"

#include <QTest>

using namespace kamorin;

class TestFrmAbout2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formLoadSetsCaptionThenVersionThenTitle();
    void versionShowsMajorMinorRevision_data();
    void versionShowsMajorMinorRevision();
    void loadingBringsBackTheDesignBeforeFormLoad();
    void failedFormLoadLeavesTheDialogUnloaded();
    void okUnloadsAndTheMenuShows();
};

void TestFrmAbout2::formLoadSetsCaptionThenVersionThenTitle()
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
    QCOMPARE(form.caption(), QStringLiteral("Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(form.lblTitle.caption(), QStringLiteral("Kamorin(ＫＴ版)"));
}

void TestFrmAbout2::versionShowsMajorMinorRevision_data()
{
    QTest::addColumn<AppVersion>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.2.0.7") << AppVersion { 1, 2, 7 } << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.7");
    QTest::newRow("10.0.0.12, unpadded")
            << AppVersion { 10, 0, 12 } << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.0.12");
}

void TestFrmAbout2::versionShowsMajorMinorRevision()
{
    QFETCH(AppVersion, version);
    QFETCH(QString, expected);
    frmAbout2 form;
    test::FakePlatform platform;
    platform.version = version;
    Form_Load(form, platform);
    QCOMPARE(form.lblVersion.caption(), expected);
}

void TestFrmAbout2::loadingBringsBackTheDesignBeforeFormLoad()
{
    frmAbout2 form;
    test::FakePlatform platform;
    form.lblTitle.setCaption(QStringLiteral("left over"));
    form.lblVersion.setWidth(0);
    form.cmdOK.setCaption(QStringLiteral("left over"));
    form.cmdOK.setEnabled(false);
    QVERIFY(!form.isLoaded());
    form.load(platform);
    QVERIFY(form.isLoaded());
    QCOMPARE(form.lblTitle.caption(), QStringLiteral("Kamorin(ＫＴ版)"));
    QCOMPARE(form.lblVersion.width(), 1725.0f);
    QCOMPARE(form.cmdOK.caption(), QStringLiteral("OK"));
    QVERIFY(form.cmdOK.enabled());
}

void TestFrmAbout2::failedFormLoadLeavesTheDialogUnloaded()
{
    struct BrokenVersion : test::FakePlatform
    {
        AppVersion appVersion() const override { throw RuntimeError(ErrorNumber::Overflow); }
    } platform;
    frmAbout2 form;
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
