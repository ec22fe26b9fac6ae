# The Debian package, made by CPack from the install rules (scripts/package).
#
# Depends: what dpkg-shlibdeps finds the two programs linked against (Qt's
# libraries, libc, zlib, OpenGL), plus the run-time pieces Qt loads as
# plugins, which no linker sees:
#   libqt6sql6-sqlite  the help window's collection is an SQLite database
# and, when the program plays the tutorial lessons through Qt Multimedia,
#   gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly (ASF), gstreamer1.0-libav (WMV)
# Recommends: qt6-wayland (native windows on a Wayland desktop; without it
# they go through XWayland).
# The desktop, file type and icon caches are refreshed by dpkg triggers of
# desktop-file-utils, shared-mime-info and the icon theme: no scripts here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pipeloop)
set(CPACK_PACKAGE_VENDOR Zelkworks)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design tool for compressed-air pipework")
set(CPACK_PACKAGE_DESCRIPTION
  "PipeLoop lays out compressed-air ring mains in factory buildings, with drops, spurs,\n"
  "drains, inlets and valves, draws them as a plan, sections and a 3D view, and lists\n"
  "and prices every part of the vendor's pipe system. pipeloop-cli does the same work\n"
  "from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Zelkworks <support@zelkworks.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME pipeloop)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.zelkworks.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(pipeloop_runtime_depends libqt6sql6-sqlite)
# Whether a library the program links uses Qt Multimedia (the lesson player).
set(pipeloop_plays_media OFF)
foreach(library pipeloop_app pipeloop_tools)
  if(TARGET ${library})
    get_target_property(linked ${library} LINK_LIBRARIES)
    if(linked MATCHES "Qt6::Multimedia")
      set(pipeloop_plays_media ON)
    endif()
  endif()
endforeach()
if(pipeloop_plays_media)
  list(APPEND pipeloop_runtime_depends gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
    gstreamer1.0-libav)
endif()
list(JOIN pipeloop_runtime_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)

include(CPack)
