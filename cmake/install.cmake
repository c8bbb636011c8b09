# What `cmake --install` lays out: the versioned libraries with their
# development links, the public headers, ecfbmtc.pc and a CMake package
# (ecfbmtc::ecfbmtc, ecfbmtc::ecfhost), ecfctl and ecfsim, man pages, the
# licence and the changelog. Runtime files go to the "runtime" component,
# the rest to "development" and "tools", so packages can split them.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# A program linked with the driver's target gets the host kit after it, the
# order the linker needs (see README, "Linking").
target_link_libraries(ecfbmtc INTERFACE ecfhost)
install(TARGETS ecfbmtc ecfhost EXPORT ecfbmtcTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
    NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/ecfbmtc.h ${PROJECT_SOURCE_DIR}/include/ecfhost.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ecfbmtc
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development FILES_MATCHING PATTERN "*.h")

# The .pc file finds the prefix from its own place, so an install into any
# --prefix works.
file(RELATIVE_PATH ECF_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ECF_PC_TO_PREFIX "${ECF_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/ecfbmtc.pc.in ${PROJECT_BINARY_DIR}/ecfbmtc.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ecfbmtc.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

set(ECF_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ecfbmtc)
install(EXPORT ecfbmtcTargets NAMESPACE ecfbmtc:: DESTINATION ${ECF_CMAKE_DIR}
  COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/templates/ecfbmtcConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ecfbmtcConfig.cmake INSTALL_DESTINATION ${ECF_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ecfbmtcConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ecfbmtcConfig.cmake
  ${PROJECT_BINARY_DIR}/ecfbmtcConfigVersion.cmake
  DESTINATION ${ECF_CMAKE_DIR} COMPONENT development)

foreach(program ecfctl ecfsim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
  endif()
endforeach()
# ecfctl finds the libraries installed beside it, wherever the prefix.
if(TARGET ecfctl)
  file(RELATIVE_PATH _ecf_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(ecfctl PROPERTIES INSTALL_RPATH "$ORIGIN/${_ecf_bin_to_lib}")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/man/ecfctl.1 ${PROJECT_SOURCE_DIR}/man/ecfsim.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
install(FILES ${PROJECT_SOURCE_DIR}/man/ecfbmtc.3
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
