# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the package's
# files and archive members all carry SOURCE_DATE_EPOCH as their time, as
# Debian's reproducible builds want it. A builder's own value wins; else the
# commit's time of a git checkout, as Debian's tools take it, so a rebuild of
# the commit gives the same package; else, in a source tree without git
# (a release tarball, git missing), the date of the changelog's latest entry,
# as dpkg-buildpackage takes it.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()

# Takes what the command prints as the epoch, but only a whole number of
# seconds: a tool that fails or prints anything else leaves it unset, so the
# next source is asked.
function(kamorin_epoch_from)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE epoch RESULT_VARIABLE status
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(status EQUAL 0 AND epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
  endif()
endfunction()

find_program(KAMORIN_GIT git)
if(KAMORIN_GIT)
  # Only the project's own checkout: a tarball unpacked inside some other
  # repository must not take that repository's last commit.
  execute_process(COMMAND "${KAMORIN_GIT}" -C "${CPACK_KAMORIN_SOURCE_DIR}" rev-parse --show-toplevel
                  OUTPUT_VARIABLE top RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(status EQUAL 0)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${CPACK_KAMORIN_SOURCE_DIR}" source)
    if(top STREQUAL source)
      kamorin_epoch_from("${KAMORIN_GIT}" -C "${CPACK_KAMORIN_SOURCE_DIR}" log -1 --format=%ct)
    endif()
  endif()
endif()

find_program(KAMORIN_DPKG_PARSECHANGELOG dpkg-parsechangelog)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND KAMORIN_DPKG_PARSECHANGELOG)
  kamorin_epoch_from("${KAMORIN_DPKG_PARSECHANGELOG}" -l "${CPACK_KAMORIN_SOURCE_DIR}/data/changelog"
                     -S Timestamp)
endif()
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(WARNING "No SOURCE_DATE_EPOCH, no git checkout and no readable changelog: "
                  "the package's times are the build's, so another build will differ")
endif()
