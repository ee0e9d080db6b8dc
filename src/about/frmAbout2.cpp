#include "about/frmAbout2.h"

#include "runtime/NumberText.h"

#include <QStringView>

namespace kamorin {

namespace {

QString fromDesign(std::u16string_view text)
{
    return QStringView(text).toString();
}

} // namespace

frmAbout2::frmAbout2()
    : picIcon(kPicIconDesign), cmdOK(observers, aboutDesignOf("cmdOK")),
      lblTitle(observers, aboutDesignOf("lblTitle")),
      lblVersion(observers, aboutDesignOf("lblVersion")), m_caption(fromDesign(kAboutDesignCaption))
{ }

void frmAbout2::setCaption(const QString &caption)
{
    m_caption = caption;
    if (captionChanged)
        captionChanged();
}

void frmAbout2::restoreDesign()
{
    setCaption(fromDesign(kAboutDesignCaption));
    cmdOK.setCaption(fromDesign(cmdOK.design().text));
    cmdOK.setEnabled(true);
    for (Label *label : { &lblTitle, &lblVersion }) {
        const ControlDesign &design = label->design();
        label->setCaption(fromDesign(design.text));
        label->setLeft(static_cast<float>(design.left));
        label->setWidth(static_cast<float>(design.width));
        label->setEnabled(true);
    }
}

void frmAbout2::runFormLoad(Platform &platform)
{
    Form_Load(*this, platform);
}

void Form_Load(frmAbout2 &form, Platform &platform)
{
    form.setCaption(QStringLiteral("Kamorin(KT版)") + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    const AppVersion version = platform.appVersion();
    form.lblVersion.setCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + integerToText(version.major) + u'.'
                               + integerToText(version.minor) + u'.'
                               + integerToText(version.revision));
    form.lblTitle.setCaption(QStringLiteral("Kamorin(ＫＴ版)"));
}

void cmdOK_Click(frmAbout2 &form, Platform &platform)
{
    platform.unloadForm(form);
}

void Ver_Click(frmAbout2 &form, Platform &platform)
{
    platform.showForm(form);
}

} // namespace kamorin
