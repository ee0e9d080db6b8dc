#include "runtime/VectorState.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

#include <cstdint>

namespace kamorin {

#if defined(__x86_64__)

namespace {

// The state components that vzeroupper returns to their initial state: the
// upper halves of YMM0–15 (AVX) and the upper halves of ZMM0–15 (AVX-512).
constexpr std::uint64_t kUpperVectorState = (1u << 2) | (1u << 6);

std::uint64_t extendedControlRegister(unsigned which) noexcept
{
    unsigned low = 0;
    unsigned high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(which));
    return (std::uint64_t { high } << 32) | low;
}

struct Processor
{
    // vzeroupper is an instruction only where the processor has AVX and the
    // system saves its state; anywhere else it faults.
    bool hasAvx = false;
    // xgetbv with ECX = 1 tells which state components are in use.
    bool reportsStateInUse = false;
};

Processor examine() noexcept
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_OSXSAVE))
        return {};
    constexpr std::uint64_t kSseAndAvxState = 0x2 | 0x4;
    Processor processor;
    processor.hasAvx
            = (ecx & bit_AVX) && (extendedControlRegister(0) & kSseAndAvxState) == kSseAndAvxState;
    processor.reportsStateInUse = __get_cpuid_max(0, nullptr) >= 0xD
            && __get_cpuid_count(0xD, 1, &eax, &ebx, &ecx, &edx) && (eax & (1u << 2));
    return processor;
}

const Processor &processor() noexcept
{
    static const Processor examined = examine();
    return examined;
}

} // namespace

void clearUpperVectorState() noexcept
{
    // Only the upper halves change, and every vector register is the
    // caller's to save across a call anyway; the clobbers keep a compiler
    // that was told to use AVX itself from holding a value there.
    if (processor().hasAvx)
        __asm__ volatile("vzeroupper" ::
                                 : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7",
                                   "xmm8", "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14",
                                   "xmm15");
}

std::optional<bool> upperVectorStateInUse() noexcept
{
    if (!processor().hasAvx || !processor().reportsStateInUse)
        return std::nullopt;
    return (extendedControlRegister(1) & kUpperVectorState) != 0;
}

#else

void clearUpperVectorState() noexcept { }

std::optional<bool> upperVectorStateInUse() noexcept
{
    return std::nullopt;
}

#endif

} // namespace kamorin
