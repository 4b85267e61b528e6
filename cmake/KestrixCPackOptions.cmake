# Read by cpack for each generator: the DEB package puts the tree under /opt/<name>, whole (the
# folder its conffiles are listed in); the archive holds it under its top folder.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "${CPACK_KESTRIX_DEB_PREFIX}")
endif()
