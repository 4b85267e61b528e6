# The installation: `cmake --install <build> --prefix DIR` lays out a complete, relocatable tree
#
#   bin/            kestrix-host with the deliverables libkestrix2000.so and libkestrix.so beside
#                   it (where the host loads them from), start.env, the line-type file the user
#                   configuration names (kestrix.lin), the host's support folder, and the launcher
#                   trovstart with the demo catalogue programs
#   lib/            the shared libraries kxplatform and kestrixhost
#   share/kestrix/  the sample installation: quorvel/ (message catalogues), setup/ (launcher
#                   settings, dialog file, line-type and colour definitions), user/ (the user
#                   configuration) and parts/ (sample parts)
#
# start.env names every folder through %DirOfThisFile%, and the programs and modules find their
# libraries through an $ORIGIN-relative run path, so the tree keeps working when it is moved.
# cpack packs the same tree (TGZ, and DEB where dpkg-deb is at hand), every folder with mode 0755
# whatever the packager's umask; name, version and description are the project's.
include(GNUInstallDirs)

set(KESTRIX_SAMPLE_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME})
file(RELATIVE_PATH kestrix_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH kestrix_bin_to_sample ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${KESTRIX_SAMPLE_INSTALL_DIR})

# The targets whose code ends up in installed files. Installed programs and modules look for the
# shared libraries beside themselves and in lib/. Debug information and __FILE__ name the source
# and build folders relatively, so no installed file carries an absolute path of this machine
# (the build folder may lie inside the source folder: the later map wins). The tests keep
# absolute names: some find their fixtures through __FILE__.
set(kestrix_installed_code kxplatform kxfoundation kxconfig kxmeta kxmodel3d kestrixhost
    kestrixsdk2000 kestrixsdkr14 kxplugin2000 kxpluginr14 kestrix2000 kestrix kestrix-host
    kxtrovstart trovstart kxdemocatalogue demo-viewer demo-shaft demo-assembly demo-connect)
foreach(target ${kestrix_installed_code})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    continue()
  endif()
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${kestrix_bin_to_lib}")
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                                             "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
  endif()
endforeach()


# The deliverables, the host and the catalogue programs.
install(TARGETS kestrix2000 kestrix LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kestrix-host trovstart demo-viewer demo-shaft demo-assembly demo-connect
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kxplatform kestrixhost LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/tools/kestrix-host/support
        DESTINATION ${CMAKE_INSTALL_BINDIR})

# start.env beside the deliverables, naming the sample installation relative to itself.
set(KESTRIX_SAMPLE_DIR "%DirOfThisFile%/${kestrix_bin_to_sample}")
configure_file(${PROJECT_SOURCE_DIR}/examples/start.env.in ${PROJECT_BINARY_DIR}/installed/start.env
               @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/installed/start.env ${PROJECT_SOURCE_DIR}/examples/setup/kestrix.lin
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/quorvel ${PROJECT_SOURCE_DIR}/examples/setup
                  ${PROJECT_SOURCE_DIR}/examples/user ${PROJECT_SOURCE_DIR}/examples/parts
        DESTINATION ${KESTRIX_SAMPLE_INSTALL_DIR})

# Packages of the installation. The DEB package puts the tree under /opt/kestrix, whole, as it is
# laid out above (KestrixCPackOptions.cmake reads the folder from CPACK_KESTRIX_DEB_PREFIX).
set(CPACK_KESTRIX_DEB_PREFIX /opt/${PROJECT_NAME})
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGE_VENDOR "${PROJECT_NAME} developers")
set(CPACK_PACKAGE_CONTACT "${PROJECT_NAME} developers <${PROJECT_NAME}@localhost>")
set(CPACK_GENERATOR TGZ)
find_program(KESTRIX_DPKG_DEB dpkg-deb)
if(KESTRIX_DPKG_DEB)
  list(APPEND CPACK_GENERATOR DEB)
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/KestrixCPackOptions.cmake)
# Folders 0755 in every package, whatever the packager's umask.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/KestrixPackageModes.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# What the programs and modules link beyond the package's own libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
# The DEB package's conffiles: every installed file that users or administrators change. dpkg
# keeps such a file, once edited, over a reinstall and an upgrade (it asks only when the package
# brings a changed version of it too) and when the package is removed; only a purge deletes it.
# They are the user configuration that the options dialog saves into (user/), the launcher
# settings, dialog and definition files (setup/), start.env, and the line-type files that the user
# configuration names: kestrix.lin beside the deliverables and the host's support/acad.lin, its
# default. The list follows the folders installed above, file for file.
file(GLOB_RECURSE kestrix_sample_conffiles RELATIVE ${PROJECT_SOURCE_DIR}/examples CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/examples/setup/* ${PROJECT_SOURCE_DIR}/examples/user/*)
file(GLOB_RECURSE kestrix_support_conffiles RELATIVE ${PROJECT_SOURCE_DIR}/tools/kestrix-host
     CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/kestrix-host/support/*)
set(kestrix_conffiles)
foreach(name start.env kestrix.lin ${kestrix_support_conffiles})
  string(APPEND kestrix_conffiles "${CPACK_KESTRIX_DEB_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\n")
endforeach()
foreach(name ${kestrix_sample_conffiles})
  string(APPEND kestrix_conffiles "${CPACK_KESTRIX_DEB_PREFIX}/${KESTRIX_SAMPLE_INSTALL_DIR}/${name}\n")
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/installed/conffiles CONTENT "${kestrix_conffiles}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/installed/conffiles)
# The control files get dpkg's modes (0644), whatever the modes of the files they are made from.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
