# Run by cpack for each generator once the tree is staged, before it is packed: every folder of
# the package gets mode 0755. The folders that install() makes as parents of what it installs, and
# the DEB package's /opt/<name>, take the packager's umask otherwise, so a package made under
# umask 077 would install a tree that no one but its owner can enter. The files keep the modes
# their install() rules give them (0644, programs and modules 0755), whatever the umask.
file(GLOB_RECURSE kestrix_staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(entry "${CPACK_TEMPORARY_DIRECTORY}" ${kestrix_staged})
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
