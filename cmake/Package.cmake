# The Debian package (cpack -G DEB in the build folder): the installed tree under /usr, stripped, its
# runtime dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessera)
set(CPACK_PACKAGE_VENDOR Quillmark)
set(CPACK_PACKAGE_CONTACT "Quillmark <tessera@quillmark.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password and card wallet of a phone, on the desktop")
set(CPACK_PACKAGE_DESCRIPTION "Pocketdeck hosts phone plug-ins; its Tessera plug-in shows and edits the\n\
wallet of passwords and cards on the phone. tessera is the command-line\n\
companion, tessera-phone a phone kept in a folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
