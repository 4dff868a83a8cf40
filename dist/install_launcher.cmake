# Run by `cmake --install`: writes the launcher LAUNCHER for PROGRAM with the paths of
# this installation and installs it into the program folder. Expects PROGRAM, LAUNCHER,
# BINDIR and TEMPLATEDIR (relative to the prefix, or absolute), SOURCE and WORKDIR.

# A path as one single-quoted word of the shell.
function(shell_quote out path)
  string(REPLACE "'" "'\\''" quoted "${path}")
  set(${out} "'${quoted}'" PARENT_SCOPE)
endfunction()

foreach(dir BINDIR TEMPLATEDIR)
  if(IS_ABSOLUTE "${${dir}}")
    set(${dir}_FULL "${${dir}}")
  else()
    set(${dir}_FULL "${CMAKE_INSTALL_PREFIX}/${${dir}}")
  endif()
endforeach()
shell_quote(PROGRAM_PATH "${BINDIR_FULL}/${PROGRAM}")
shell_quote(TEMPLATE_PATH "${TEMPLATEDIR_FULL}")
# A folder of this install's own: installs into other prefixes may run at the same time.
string(RANDOM LENGTH 16 tag)
set(scratch "${WORKDIR}/launcher-${tag}")
configure_file("${SOURCE}" "${scratch}/${LAUNCHER}" @ONLY)
file(INSTALL "${scratch}/${LAUNCHER}" DESTINATION "${BINDIR_FULL}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(REMOVE_RECURSE "${scratch}")
