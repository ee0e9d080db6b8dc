# Instrumented builds, each in a build directory of its own:
#   KAMORIN_SANITIZE         the whole tree with AddressSanitizer and UBSan, for the tests;
#   KAMORIN_SANITIZE_THREAD  the whole tree with ThreadSanitizer, for the tests;
#   KAMORIN_FUZZ             AddressSanitizer and UBSan with libFuzzer's coverage, for
#                            the targets in fuzz/.
option(KAMORIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KAMORIN_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
option(KAMORIN_FUZZ "Build the libFuzzer targets in fuzz/ (needs clang)" OFF)

if(KAMORIN_SANITIZE_THREAD)
  if(KAMORIN_SANITIZE OR KAMORIN_FUZZ)
    message(FATAL_ERROR "ThreadSanitizer cannot share a build with AddressSanitizer")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(KAMORIN_SANITIZE OR KAMORIN_FUZZ)
  # float-cast-overflow is named because GCC leaves it out of "undefined".
  # Undefined behaviour stops the program: a report that scrolls past in a
  # passing test would be lost.
  set(KAMORIN_SANITIZER_FLAGS
      -fsanitize=address,undefined,float-cast-overflow
      -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${KAMORIN_SANITIZER_FLAGS})
  add_link_options(${KAMORIN_SANITIZER_FLAGS})
  # GCC's flow analysis loses track of what the instrumentation initialises
  # and warns of Qt's own members "maybe uninitialized"; the plain build,
  # which keeps the warning, judges the code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

if(KAMORIN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KAMORIN_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Coverage for the libraries; only the fuzz executables link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
