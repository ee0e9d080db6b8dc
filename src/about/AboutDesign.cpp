#include "about/AboutDesign.h"

#include <array>

namespace kamorin {

namespace {

using K = ControlKind;
using A = Alignment;
using B = Border;

constexpr Rgb kBlue { 0, 0, 255 };
constexpr std::nullopt_t kOwn = std::nullopt;

// The labels' design-time captions are never seen: Form_Load sets both.
// clang-format off
constexpr std::array<ControlDesign, 3> kDesign { {
    { "cmdOK",      K::CommandButton, 1080, 1200, 1310, 345, u"OK", 9,     false, kOwn,  kOwn, A::Centre, B::None, 0 },
    { "lblTitle",   K::Label,         1050,  240, 2325, 480, u"",   14.25, true,  kBlue, kOwn, A::Left,   B::None, 2 },
    { "lblVersion", K::Label,         1080,  780, 1725, 225, u"",   11.25, true,  kOwn,  kOwn, A::Right,  B::None, 3 },
} };
// clang-format on

} // namespace

const ControlDesign &aboutDesignOf(std::string_view name)
{
    return findDesign(kDesign, name);
}

} // namespace kamorin
