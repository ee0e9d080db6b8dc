#pragma once

#include "about/AboutDesign.h"
#include "mainwindow/Controls.h"
#include "runtime/Platform.h"

#include <QString>

#include <functional>

namespace kamorin {

// The version dialog: the program's icon, its title and its version, and OK.
// There is one instance; the platform loads it afresh each time it is shown
// after being unloaded.
class frmAbout2 : public Form
{
public:
    frmAbout2();

    // Declared first: every control keeps a reference to it.
    ControlObservers observers;

    const PictureBoxDesign &picIcon;
    CommandButton cmdOK;
    Label lblTitle;
    Label lblVersion;

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // Told of every assignment to the caption; the dialog's title follows it.
    std::function<void()> captionChanged;

protected:
    void restoreDesign() override;
    void runFormLoad(Platform &platform) override;

private:
    QString m_caption;
};

// Sets the caption, the version and the title, in that order.
void Form_Load(frmAbout2 &form, Platform &platform);

// OK, Enter or Esc: the dialog unloads itself.
void cmdOK_Click(frmAbout2 &form, Platform &platform);

// ヘルプ > バージョン情報: loads and shows the dialog, or only brings it to the
// front when it is open already.
void Ver_Click(frmAbout2 &form, Platform &platform);

} // namespace kamorin
