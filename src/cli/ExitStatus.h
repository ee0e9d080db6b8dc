#pragma once

#include "results/ResultsError.h"

namespace kamorin {

// --fail-if-slower: B is significantly slower than A by more than was allowed.
inline constexpr int kSlowerStatus = 1;
// A runtime error of the window's own handlers.
inline constexpr int kRuntimeErrorStatus = 2;
inline constexpr int kUsageStatus = 64;        // EX_USAGE
inline constexpr int kDocumentStatus = 65;     // EX_DATAERR: a results file refused
inline constexpr int kNoSuchResultStatus = 66; // EX_NOINPUT: no such result, no store yet
inline constexpr int kSystemErrorStatus = 71;  // EX_OSERR
inline constexpr int kStoreStatus = 73;        // EX_CANTCREAT: the store cannot be used
// 74 (EX_IOERR), the results or a file cannot be written: kOutputErrorStatus.

// The status that says to a script what kind of failure `error` is.
int statusOf(const ResultsError &error);

// The error on stderr, then its status.
int failed(const ResultsError &error);

// For std::set_terminate: memory that ran out where an exception cannot pass
// ends the program with 71, as it ends elsewhere; anything else aborts.
[[noreturn]] void endAsTerminated();
// The words endAsTerminated says, made in the user's language once it is
// installed: when memory has run out, none can be had to translate them.
void prepareLastWords();

} // namespace kamorin
