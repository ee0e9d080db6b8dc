# Run by cpack once the .deb is made (CPACK_POST_BUILD_SCRIPTS): cpack gives
# the archive's own members (debian-binary, control.tar, data.tar) the modes
# their files had on disk, that is the builder's umask. Each ar header's mode
# field is set to 100644, what dpkg-deb writes, in place.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(SIZE "${package}" total)
  set(offset 8) # after "!<arch>\n"
  while(offset LESS total)
    math(EXPR size_at "${offset} + 48")
    file(READ "${package}" size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    math(EXPR mode_at "${offset} + 40")
    execute_process(COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=$1 conv=notrunc status=none"
                            "${package}" ${mode_at}
                    COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR offset "${offset} + 60 + ${size} + ${size} % 2")
  endwhile()
endforeach()
