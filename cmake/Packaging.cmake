# Windows build: the version block of the DLL and the host, and the `msi`
# target that packages both. The version is the project's, set once in the
# top-level project() call.

function(tarrow_version_resource target file_name description file_type)
  set(VERSION_FILE_NAME ${file_name})
  set(VERSION_FILE_DESCRIPTION ${description})
  set(VERSION_FILE_TYPE ${file_type})
  get_filename_component(VERSION_INTERNAL_NAME ${file_name} NAME_WE)
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}-version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

tarrow_version_resource(TarrowView TarrowView.dll "Tarrow View editor" VFT_DLL)
tarrow_version_resource(tarrow-host tarrow-host.exe "Tarrow View demo host" VFT_APP)

set(TARROW_MSI ${CMAKE_SOURCE_DIR}/out/TarrowView-${PROJECT_VERSION}-x64.msi)
add_custom_target(msi_package
  COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DBIN_DIR=$<TARGET_FILE_DIR:TarrowView>
          -DOUT=${TARROW_MSI} -P ${CMAKE_SOURCE_DIR}/installer/package.cmake
  COMMENT "Packaging ${TARROW_MSI}"
  VERBATIM)
add_dependencies(msi_package TarrowView tarrow-host)
