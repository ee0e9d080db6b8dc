#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kamorin {

enum class ControlKind
{
    Label,
    TextBox,
    ComboBox,
    CommandButton,
};

struct Rgb
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

enum class Alignment
{
    Left,
    Centre,
    Right,
};

enum class Border
{
    None,
    FixedSingle, // a plain one-pixel line
    Sunken,      // the platform's usual field border
};

// A control as the window's design fixes it: place and size in twips, the
// text it is created with, its font, colours, alignment, border and tab index.
// A colour left empty is the platform's own for that kind of control, unless
// the other colour is fixed: then it is the standard scheme's, so that no
// desktop theme's colour is ever paired with a designed one.
struct ControlDesign
{
    std::string_view name;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    std::u16string_view text;
    double pointSize;
    bool bold;
    std::optional<Rgb> foreground;
    std::optional<Rgb> background;
    Alignment alignment;
    Border border;
    int tabIndex;
    // What a screen reader calls the control, from the captions that name it
    // on the screen; empty where its own caption says what it is.
    std::u16string_view spokenName = {};
    bool wordWrap = false;
    // A label that paints only its text: the bar values sit on the black
    // chart and must not show as black boxes over the curtain while empty.
    bool transparent = false;
    // A value the window holds and never shows: it lies wholly beneath other
    // controls, so it takes no focus and no click, and no screen reader meets it.
    bool plainValue = false;
};

struct ColourPair
{
    Rgb text;
    Rgb background;
};

// Both colours of a control whose design fixes either of them, the other one
// taken from the standard scheme for its kind (black text; a white field, a
// grey face); none where the design fixes neither and the desktop's theme decides.
std::optional<ColourPair> designedColours(const ControlDesign &design);

// Twips of the window's client area, below the menu bar.
inline constexpr int kClientWidthTwips = 4740;
inline constexpr int kClientHeightTwips = 5775;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kWindowPointSize = 11.25;
// The curtain Label18 covers the whole bar chart at this width.
inline constexpr int kCurtainFullWidth = 4110;
// Every control asks for this face; the view maps it to what is installed.
inline constexpr std::u16string_view kFontFamily = u"ＭＳ Ｐゴシック";

// Every control of the main window, in the order they are created.
std::span<const ControlDesign> mainWindowDesign();

// Control names from the top of the stack to the bottom.
std::span<const std::string_view> mainWindowStackingFromTop();

// The design of the control of that name in a table; throws std::out_of_range
// for a name the table lacks, which can only be a mistake in the program.
const ControlDesign &findDesign(std::span<const ControlDesign> table, std::string_view name);
const ControlDesign &designOf(std::string_view name);

} // namespace kamorin
