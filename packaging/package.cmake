# `make package` (cpack in the build folder): a Debian package of what `cmake --install`
# lays out under /usr, its dependencies found by dpkg-shlibdeps from the libraries the
# binaries link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvan)
set(CPACK_PACKAGE_VENDOR Tavrel)
set(CPACK_PACKAGE_CONTACT "Tavrel <zorvan@tavrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio player with a skinned window")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "audio player with a skinned window\n"
  " Zorvan plays MPEG audio, WAV, Ogg Vorbis and WMA files, tracker modules,\n"
  " audio CDs and internet radio. It keeps a playlist, has an equalizer, sound\n"
  " effects, a visualisation window and a music library, and answers media keys.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libSongmeta.so lies beside the program and comes with the package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# The windows' texts need a font; any will do.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
# No maintainer scripts: the icon cache, menus and MIME database are refreshed by the
# triggers of the packages that own them.
include(CPack)
