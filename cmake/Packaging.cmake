# A Debian package of the installed program: cpack --config <build>/CPackConfig.cmake
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "${QZDS_EXECUTABLE}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "qiuzuidashu developers <maintainers@qiuzuidashu.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find the largest of three numbers, in a small Chinese window")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small desktop program in Simplified Chinese (求最大数). Its window greets the
user with today's date, shows a welcome line and the time, and asks for three
numbers in three dialogs and shows the largest.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The label's Kai typeface (which also covers every other Chinese text), and Qt's platform
# plugins, which the program loads at run time and so no library dependency names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-ukai, qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
