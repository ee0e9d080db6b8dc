# One commit gives the same programs and the same package, byte for byte,
# wherever and whenever it is built.

# The source and build folders appear in the debug information, and the
# build id, which stays in a stripped program, is a hash of all of it. The
# build folder is named last so it wins where it lies inside the source
# folder; a builder's own maps (dpkg-buildflags passes one) come after and
# win over both.
string(STRIP "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=. ${CMAKE_CXX_FLAGS}"
       CMAKE_CXX_FLAGS)

# rcc records each file's time in the resources it compiles in: for the
# icons the time of the checkout, for the translations that of the build.
# Format 1 records none; nothing reads them.
set(KAMORIN_RCC_OPTIONS --format-version 1)
