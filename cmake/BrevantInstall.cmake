# Installation: the libraries, their headers under one include/brevant folder,
# formconv, a CMake package (find_package(Brevant) gives Brevant::bv and the
# platform layers) and a pkg-config file (brevant.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Lowest layer last: also the link order the pkg-config file needs.
set(BREVANT_LIBRARIES
  bv_navbar bv_std bv_ctl bv_vtf bv_gcc bv_env bv bv_db bv_rtm
  bv_platform_controls bv_platform_backend bv_platform_graphics
  bv_platform_db bv_platform_classes bv_platform_rtl)

install(TARGETS ${BREVANT_LIBRARIES} EXPORT BrevantTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brevant)
install(TARGETS formconv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Headers keep the folders they are included by ("rtl/format.h", "bv/tabulon.h").
foreach(dir rtl classes db graphics backend controls)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/${dir}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brevant FILES_MATCHING PATTERN "*.h")
endforeach()
foreach(dir bv_rtm bv_db bv bv_env bv_gcc bv_vtf bv_ctl bv_std navbar)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brevant FILES_MATCHING PATTERN "*.h")
endforeach()

set(BREVANT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Brevant)
install(EXPORT BrevantTargets NAMESPACE Brevant:: DESTINATION ${BREVANT_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/package/BrevantConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/BrevantConfig.cmake INSTALL_DESTINATION ${BREVANT_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/BrevantConfigVersion.cmake
  VERSION 0.3.0 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/BrevantConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/BrevantConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/FormResources.cmake
              ${CMAKE_CURRENT_LIST_DIR}/EmbedFormFiles.cmake
        DESTINATION ${BREVANT_CMAKE_DIR})

list(TRANSFORM BREVANT_LIBRARIES PREPEND "-l" OUTPUT_VARIABLE BREVANT_PC_LIBS)
list(JOIN BREVANT_PC_LIBS " " BREVANT_PC_LIBS)
# Relative to the .pc file's own folder, so the installed tree can be moved.
file(RELATIVE_PATH BREVANT_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
string(REGEX REPLACE "/$" "" BREVANT_PC_TO_PREFIX "${BREVANT_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/package/brevant.pc.in
               ${CMAKE_CURRENT_BINARY_DIR}/brevant.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/brevant.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
