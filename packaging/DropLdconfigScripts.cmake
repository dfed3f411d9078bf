# Run by CPack once the packages are built (CPACK_POST_BUILD_SCRIPTS). CPack gives a package with
# a shared library maintainer scripts that call ldconfig; Debian runs ldconfig through the dpkg
# trigger that the library package activates instead (packaging/triggers), so the scripts are
# taken out again: the package is unpacked and packed anew without them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(dir ${CPACK_TOPLEVEL_DIRECTORY}/repack)
  file(REMOVE_RECURSE ${dir})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${dir} COMMAND_ERROR_IS_FATAL ANY)
  if(NOT EXISTS ${dir}/DEBIAN/triggers)
    file(REMOVE_RECURSE ${dir})
    continue()
  endif()
  foreach(script postinst postrm)
    if(EXISTS ${dir}/DEBIAN/${script})
      file(READ ${dir}/DEBIAN/${script} text)
      string(REGEX REPLACE "#[^\n]*|set -e|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|ldconfig|fi|[ \t\n]" "" rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${deb}: ${script} does more than call ldconfig:\n${text}")
      endif()
      file(REMOVE ${dir}/DEBIAN/${script})
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${dir} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${dir})
endforeach()
