# The protections Debian's dpkg-buildflags gives its own packages on amd64,
# for every target and whoever builds, so hardening-check finds them in a
# plain cmake build as well as in the package.
#
# They go in front of the language and linker flags, never into compile or
# link options: those come last on the command line, and a distribution's own
# CFLAGS/CXXFLAGS/LDFLAGS (which CMake reads into the same variables) must
# still have the last word, be it to add or to turn one off.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(kamorin_hardening_flags -fstack-protector-strong -Wformat -Werror=format-security)
# Both need the target's support: -fcf-protection is x86 only, and an older
# compiler may lack stack-clash protection.
check_cxx_compiler_flag(-fstack-clash-protection KAMORIN_HAVE_STACK_CLASH_PROTECTION)
if(KAMORIN_HAVE_STACK_CLASH_PROTECTION)
  list(APPEND kamorin_hardening_flags -fstack-clash-protection)
endif()
check_cxx_compiler_flag(-fcf-protection KAMORIN_HAVE_CF_PROTECTION)
if(KAMORIN_HAVE_CF_PROTECTION)
  list(APPEND kamorin_hardening_flags -fcf-protection)
endif()
list(JOIN kamorin_hardening_flags " " kamorin_hardening_flags)
string(STRIP "${kamorin_hardening_flags} ${CMAKE_CXX_FLAGS}" CMAKE_CXX_FLAGS)

# Every symbol is bound at start-up, so the relocations can then be made
# read-only for the whole run.
foreach(kind IN ITEMS EXE SHARED MODULE)
  string(STRIP "-Wl,-z,relro -Wl,-z,now ${CMAKE_${kind}_LINKER_FLAGS}" CMAKE_${kind}_LINKER_FLAGS)
endforeach()

# Level 3, not the 2 of Debian 12's dpkg-buildflags: it also checks copies
# whose bounds are known only at run time (GCC 12's dynamic object size),
# and those are the only copies into fixed buffers that the window program
# makes. Older compilers take it as 2.
#
# _FORTIFY_SOURCE checks only where the compiler optimises (glibc warns
# otherwise, and a warning fails CI), so it goes with the optimised build
# types, never with Debug. The compiler may define it already (some
# distributions' GCC does): it is undefined first, so there is no
# redefinition. A builder who names it in their own flags decides it alone,
# since theirs would come after ours and redefine it.
#
# The instrumented builds leave it out: its checking copies of memcpy,
# strcpy and the like stop an overflow with glibc's bare "buffer overflow
# detected" before AddressSanitizer or ThreadSanitizer see the access, so
# the report that names the fault would be lost. The other protections add
# only checks of their own and stay.
set(kamorin_builder_flags "${CMAKE_CXX_FLAGS}")
foreach(config IN ITEMS RELEASE RELWITHDEBINFO MINSIZEREL)
  string(APPEND kamorin_builder_flags " ${CMAKE_CXX_FLAGS_${config}}")
endforeach()
if(NOT kamorin_builder_flags MATCHES "_FORTIFY_SOURCE"
   AND NOT KAMORIN_SANITIZE AND NOT KAMORIN_SANITIZE_THREAD AND NOT KAMORIN_FUZZ)
  foreach(config IN ITEMS RELEASE RELWITHDEBINFO MINSIZEREL)
    string(STRIP "-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3 ${CMAKE_CXX_FLAGS_${config}}"
           CMAKE_CXX_FLAGS_${config})
  endforeach()
endif()
