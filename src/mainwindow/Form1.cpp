#include "mainwindow/Form1.h"

#include "machines/ReferenceMachines.h"
#include "mainwindow/FormSnapshot.h"
#include "mainwindow/LoopUnits.h"

#include <memory>
#include <stdexcept>

namespace kamorin {

namespace {

// "5000" comes last, after "9000", as the list was made.
QStringList countList()
{
    return { QStringLiteral("1"),    QStringLiteral("10"),   QStringLiteral("100"),
             QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("3000"),
             QStringLiteral("4000"), QStringLiteral("6000"), QStringLiteral("7000"),
             QStringLiteral("8000"), QStringLiteral("9000"), QStringLiteral("5000") };
}

QStringList unitList()
{
    QStringList units;
    for (const LoopUnit &unit : kLoopUnits)
        units << QString::fromUtf16(unit.name);
    return units;
}

QStringList speedList()
{
    return { QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
             QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5") };
}

} // namespace

Form1::Form1()
    : Combo4(observers, designOf("Combo4"), countList()),
      Combo5(observers, designOf("Combo5"), unitList()), Combo1(observers, designOf("Combo1")),
      Text1(observers, designOf("Text1")), Text2(observers, designOf("Text2")),
      Label6(observers, designOf("Label6")), Text4(observers, designOf("Text4")),
      Text6(observers, designOf("Text6")), Text5(observers, designOf("Text5")),
      Text3(observers, designOf("Text3")), Text8(observers, designOf("Text8")),
      Command1(observers, designOf("Command1")), Command2(observers, designOf("Command2")),
      Command4(observers, designOf("Command4")), Command6(observers, designOf("Command6")),
      Combo3(observers, designOf("Combo3"), listedReferenceMachineNames()),
      Text7(observers, designOf("Text7")), Combo2(observers, designOf("Combo2"), speedList()),
      Label13(observers, designOf("Label13")), Label14(observers, designOf("Label14")),
      Label15(observers, designOf("Label15")), Label17(observers, designOf("Label17")),
      Label16(observers, designOf("Label16")), Label20(observers, designOf("Label20")),
      Label19(observers, designOf("Label19")), Label8(observers, designOf("Label8")),
      Label18(observers, designOf("Label18")), Label1(observers, designOf("Label1")),
      Label2(observers, designOf("Label2")), Label5(observers, designOf("Label5")),
      Label7(observers, designOf("Label7")), Label9(observers, designOf("Label9")),
      Label4(observers, designOf("Label4")), Label11(observers, designOf("Label11")),
      Label10(observers, designOf("Label10")), Label3(observers, designOf("Label3")),
      Label12(observers, designOf("Label12")), file { QStringLiteral("file"),
                                                      QStringLiteral("ファイル") },
      exit { QStringLiteral("exit"), QStringLiteral("終了") }, Help { QStringLiteral("Help"),
                                                                      QStringLiteral("ヘルプ") },
      Ver { QStringLiteral("Ver"), QStringLiteral("バージョン情報") }
{ }

std::vector<Control *> Form1::controls()
{
    return { &Combo4,  &Combo5,  &Combo1,  &Text1,    &Text2,    &Label6,   &Text4,    &Text6,
             &Text5,   &Text3,   &Text8,   &Command1, &Command2, &Command4, &Command6, &Combo3,
             &Text7,   &Combo2,  &Label13, &Label14,  &Label15,  &Label17,  &Label16,  &Label20,
             &Label19, &Label8,  &Label18, &Label1,   &Label2,   &Label5,   &Label7,   &Label9,
             &Label4,  &Label11, &Label10, &Label3,   &Label12 };
}

Control &Form1::control(std::string_view name)
{
    for (Control *c : controls()) {
        if (c->design().name == name)
            return *c;
    }
    throw std::out_of_range("no control of that name");
}

std::function<void()> Form1::snapshot()
{
    auto taken = std::make_shared<const FormSnapshot>(controls());
    return [taken] { taken->restore(); };
}

void Form_Load(Form1 &form)
{
    form.Text1.setText(form.Combo1.text());
    form.Label14.setWidth(0);
    form.Label15.setWidth(0);
    form.Text7.setText(QString());
    form.Command6.setEnabled(false);
    form.Label16.setEnabled(false);
    form.Label17.setEnabled(false);
    form.Label18.setWidth(kCurtainFullWidth);
    form.Combo3.setEnabled(false);
}

void exit_Click(Form1 &form, Platform &platform)
{
    platform.unloadForm(form);
}

} // namespace kamorin
