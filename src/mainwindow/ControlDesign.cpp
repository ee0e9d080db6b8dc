#include "mainwindow/ControlDesign.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace kamorin {

namespace {

using K = ControlKind;
using A = Alignment;
using B = Border;

constexpr Rgb kBlack { 0, 0, 0 };
constexpr Rgb kBlue { 0, 0, 255 };
constexpr Rgb kRed { 255, 0, 0 };
// Label6 sits on the colour of active title-bar text, white in the usual scheme.
constexpr Rgb kTitleText { 255, 255, 255 };
constexpr Rgb kButtonGrey { 224, 224, 224 };
constexpr Rgb kYouBar { 255, 128, 128 };
constexpr Rgb kReferenceBar { 0, 255, 255 };
constexpr Rgb kPanelText { 255, 255, 128 };
constexpr Rgb kValueText { 255, 255, 192 };
constexpr double kWin = kWindowPointSize;
constexpr std::nullopt_t kOwn = std::nullopt;

// clang-format off
constexpr std::array<ControlDesign, 37> kDesign { {
    // Loop count
    { "Label1",   K::Label,         75,  225, 1215, 255, u"ループ回数",   9,     false, kOwn,   kOwn, A::Centre, B::None,    2 },
    { "Combo4",   K::ComboBox,    1365,  105, 1695, 345, u"2000",         kWin,  false, kOwn,   kOwn, A::Left,   B::Sunken, 31, u"ループ回数" },
    { "Combo5",   K::ComboBox,    3000,  105,  855, 345, u"万回",         kWin,  false, kOwn,   kOwn, A::Left,   B::Sunken, 32, u"ループ回数の単位" },
    { "Combo1",   K::ComboBox,    1410,  105, 2295, 345, u"20000000",     kWin,  false, kOwn,   kOwn, A::Left,   B::Sunken, 19, u"", false, false, true },
    { "Text1",    K::TextBox,     1395,  105,  975, 330, u"",             kWin,  false, kOwn,   kOwn, A::Left,   B::Sunken, 28, u"", false, false, true },
    // Computed and true value
    { "Label2",   K::Label,        210,  660, 1095, 255, u"計算値",       9,     false, kOwn,   kOwn, A::Centre, B::None,    3 },
    { "Text2",    K::TextBox,     1365,  585, 2295, 375, u"",             12,    false, kOwn,   kOwn, A::Right,  B::Sunken,  0, u"計算値" },
    { "Label5",   K::Label,        195, 1185, 1095, 255, u"真値",         9,     false, kOwn,   kOwn, A::Centre, B::None,    7 },
    { "Label6",   K::Label,       1365, 1065, 2295, 375, u"3.14159265358979\r\n",
                                                                          12,    false, kBlue,  kTitleText, A::Right, B::FixedSingle, 8, u"真値" },
    // Matching digits
    { "Label7",   K::Label,        195, 1740,  975, 255, u"小数点以下",   9,     false, kOwn,   kOwn, A::Centre, B::None,   10 },
    { "Text4",    K::TextBox,     1365, 1665,  495, 420, u"",             14.25, true,  kBlue,  kOwn, A::Right,  B::Sunken, 12, u"小数点以下の一致桁数" },
    { "Label9",   K::Label,       1950, 1740, 1575, 255, u"桁まで一致しました。", 9, false, kOwn, kOwn, A::Centre, B::None,   11 },
    // Elapsed time
    { "Label4",   K::Label,        165, 2280, 1095, 255, u"計算時間",     9.75,  false, kOwn,   kOwn, A::Centre, B::None,    6 },
    { "Text6",    K::TextBox,     1365, 2205,  495, 495, u"",             15.75, false, kRed,   kOwn, A::Right,  B::Sunken, 17, u"計算時間 時間" },
    { "Label11",  K::Label,       1965, 2325,  615, 255, u"時間",         12,    false, kOwn,   kOwn, A::Centre, B::None,   16 },
    { "Text5",    K::TextBox,     2565, 2205,  495, 495, u"",             15.75, false, kRed,   kOwn, A::Right,  B::Sunken, 15, u"計算時間 分" },
    { "Label10",  K::Label,       3045, 2325,  375, 255, u"分",           12,    false, kOwn,   kOwn, A::Centre, B::None,   14 },
    { "Text3",    K::TextBox,     3405, 2205,  495, 495, u"",             15.75, false, kRed,   kOwn, A::Right,  B::Sunken,  4, u"計算時間 秒" },
    { "Label3",   K::Label,       3900, 2325,  375, 255, u"秒",           12,    false, kOwn,   kOwn, A::Centre, B::None,    5 },
    { "Text8",    K::TextBox,     4215, 2310,  405, 360, u"",             12,    false, kRed,   kOwn, A::Right,  B::Sunken, 33, u"計算時間 100分の1秒" },
    // Commands
    { "Command1", K::CommandButton, 120, 2850, 2220, 375, u"実行",        9,     false, kOwn,   kOwn, A::Centre, B::None,    1 },
    { "Command2", K::CommandButton, 2520, 2850, 900, 375, u"CLEAR",       9,     false, kOwn,   kOwn, A::Centre, B::None,    9 },
    { "Command4", K::CommandButton, 3600, 2850, 900, 375, u"COPY",        9,     false, kOwn,   kOwn, A::Centre, B::None,   13 },
    // Score
    { "Command6", K::CommandButton, 390, 3435, 1185, 375, u"SCORE",       kWin,  true,  kOwn,   kButtonGrey, A::Centre, B::None, 25 },
    { "Text7",    K::TextBox,     2010, 3390, 1815, 450, u"",             15.75, false, kRed,   kOwn, A::Centre, B::Sunken, 18, u"SCORE の値" },
    // Bar chart, under its curtain Label18
    { "Label18",  K::Label,        135, 3525, kCurtainFullWidth, 1455, u"",            kWin,  false, kOwn,   kOwn, A::Left,   B::None,   29 },
    { "Label13",  K::Label,        795, 4080, 2715, 870, u"",             kWin,  false, kOwn,   kBlack, A::Left, B::None,   20 },
    { "Label8",   K::Label,       3480, 4080,  615, 870, u"",             9,     true,  kPanelText, kBlack, A::Left, B::None, 34 },
    { "Label17",  K::Label,        180, 4170,  615, 255, u"You",          9,     false, kOwn,   kOwn, A::Centre, B::None,   24 },
    { "Label14",  K::Label,        795, 4260, 2700, 135, u"",             kWin,  false, kOwn,   kYouBar, A::Left, B::None,  21, u"You のバー" },
    { "Label20",  K::Label,       3360, 4250,  735, 270, u"",             9,     true,  kValueText, kBlack, A::Left, B::None, 36, u"You の時間", false, true },
    { "Label16",  K::Label,        135, 4605,  615, 255, u"基準機",       9,     false, kOwn,   kOwn, A::Centre, B::None,   23 },
    { "Label15",  K::Label,        780, 4590, 2715, 135, u"",             kWin,  false, kOwn,   kReferenceBar, A::Left, B::None, 22, u"基準機のバー" },
    { "Label19",  K::Label,       3360, 4575,  735, 270, u"",             9,     true,  kValueText, kBlack, A::Left, B::None, 35, u"基準機の時間", false, true },
    { "Label12",  K::Label,       4320, 3960,  375, 375, u"表示速度",     9,     false, kOwn,   kOwn, A::Centre, B::None,   27, u"", true },
    { "Combo2",   K::ComboBox,    4200, 4440,  495, 345, u"1",            kWin,  false, kOwn,   kOwn, A::Left,   B::Sunken, 26, u"表示速度" },
    // Reference machine
    { "Combo3",   K::ComboBox,     960, 5040, 3045, 315, u"MMX-Pentium166", 9.75, false, kOwn,  kOwn, A::Left,   B::Sunken, 30, u"基準機" },
} };

constexpr std::array<std::string_view, 37> kStackingFromTop {
    // Windowed controls always lie above the labels.
    "Text8", "Combo5", "Combo4", "Combo1", "Text1", "Command6", "Text7", "Text6", "Text5",
    "Command4", "Text4", "Command2", "Text3", "Command1", "Text2", "Combo3", "Combo2",
    "Label20", "Label18", "Label12", "Label19", "Label8", "Label14", "Label15", "Label17",
    "Label16", "Label13", "Label11", "Label10", "Label9", "Label7", "Label6", "Label5",
    "Label4", "Label3", "Label2", "Label1",
};
// clang-format on

} // namespace

std::span<const ControlDesign> mainWindowDesign()
{
    return kDesign;
}

std::span<const std::string_view> mainWindowStackingFromTop()
{
    return kStackingFromTop;
}

const ControlDesign &findDesign(std::span<const ControlDesign> table, std::string_view name)
{
    const auto it = std::find_if(table.begin(), table.end(),
                                 [name](const ControlDesign &d) { return d.name == name; });
    if (it == table.end())
        throw std::out_of_range("no control of that name");
    return *it;
}

std::optional<ColourPair> designedColours(const ControlDesign &design)
{
    if (!design.foreground && !design.background)
        return std::nullopt;
    // The standard scheme: window text on a white window for fields, button
    // text on the button face for labels and buttons.
    constexpr Rgb kWindowText { 0, 0, 0 };
    constexpr Rgb kWindow { 255, 255, 255 };
    constexpr Rgb kButtonFace { 212, 208, 200 };
    const bool field = design.kind == ControlKind::TextBox || design.kind == ControlKind::ComboBox;
    return ColourPair { design.foreground.value_or(kWindowText),
                        design.background.value_or(field ? kWindow : kButtonFace) };
}

const ControlDesign &designOf(std::string_view name)
{
    return findDesign(kDesign, name);
}

} // namespace kamorin
