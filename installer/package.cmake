# Builds the installer with wixl:
#   cmake -DVERSION=1.2.3 -DBIN_DIR=build/windows/bin -DOUT=out/x.msi -P installer/package.cmake
# The class's CLSID and description are read from the DLL's own source, so
# the rows the package writes cannot drift from what DllRegisterServer writes.
cmake_minimum_required(VERSION 3.25)

set(UPGRADE_CODE 3F3E380D-636A-4BCC-8879-423073A7BBD4)
get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

foreach(var VERSION BIN_DIR OUT)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "package: -D${var}=... is required")
  endif()
endforeach()

# An installer compares the first three fields only, within these bounds.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$"
   OR CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
  message(FATAL_ERROR "package: version '${VERSION}' is not MAJOR.MINOR.PATCH (at most 255.255.65535)")
endif()

get_filename_component(BIN_DIR "${BIN_DIR}" ABSOLUTE)
get_filename_component(OUT "${OUT}" ABSOLUTE)
foreach(file TarrowView.dll tarrow-host.exe)
  if(NOT EXISTS "${BIN_DIR}/${file}")
    message(FATAL_ERROR "package: ${BIN_DIR}/${file} is missing; build the windows preset first")
  endif()
endforeach()

# ---- the class, from src/binding/win32/Module.cpp ---------------------------
set(module_source "${SOURCE_DIR}/src/binding/win32/Module.cpp")
file(READ "${module_source}" module_text)
if(NOT module_text MATCHES "CLSID_CVRorezoZavu[ \t]*=[ \t\r\n]*{([^;]*)}[ \t\r\n]*;")
  message(FATAL_ERROR "package: no CLSID_CVRorezoZavu definition in ${module_source}")
endif()
string(REGEX MATCHALL "0[xX][0-9a-fA-F]+" fields "${CMAKE_MATCH_1}")
list(LENGTH fields count)
if(NOT count EQUAL 11)
  message(FATAL_ERROR "package: CLSID_CVRorezoZavu in ${module_source} is not 11 hexadecimal fields")
endif()
set(widths 8 4 4 2 2 2 2 2 2 2 2)
set(parts)
foreach(i RANGE 0 10)
  list(GET widths ${i} width)
  list(GET fields ${i} part)
  string(SUBSTRING "${part}" 2 -1 part)
  string(REGEX REPLACE "^0+(.)" "\\1" part "${part}")
  string(LENGTH "${part}" len)
  if(len GREATER width)
    message(FATAL_ERROR "package: CLSID field ${i} (0x${part}) is too wide")
  endif()
  while(len LESS width)
    string(PREPEND part "0")
    math(EXPR len "${len} + 1")
  endwhile()
  string(TOUPPER "${part}" part)
  list(APPEND parts "${part}")
endforeach()
list(GET parts 0 a)
list(GET parts 1 b)
list(GET parts 2 c)
list(SUBLIST parts 3 2 d)
list(SUBLIST parts 5 6 e)
string(JOIN "" d ${d})
string(JOIN "" e ${e})
set(CLASS_ID "{${a}-${b}-${c}-${d}-${e}}")

if(NOT module_text MATCHES "kClassDescription[ \t]*=[ \t\r\n]*\"([^\"\\\\]*)\"")
  message(FATAL_ERROR "package: no plain kClassDescription string in ${module_source}")
endif()
set(CLASS_DESCRIPTION "${CMAKE_MATCH_1}")

# One product code a version: the same version builds the same package
# identity, a new one is a new product that upgrades the old.
string(UUID PRODUCT_CODE NAMESPACE ${UPGRADE_CODE} NAME "TarrowView-${VERSION}-x64" TYPE SHA1 UPPER)

find_program(WIXL wixl)
if(NOT WIXL)
  message(FATAL_ERROR "package: wixl not found (Debian package wixl; scripts/setup installs it)")
endif()

get_filename_component(out_dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
# Written beside the target and renamed: a failed build leaves no partial
# package under the real name.
set(partial "${OUT}.partial")
file(REMOVE "${partial}")
execute_process(
  COMMAND "${WIXL}" --arch x64
    -D "Version=${VERSION}"
    -D "ProductCode={${PRODUCT_CODE}}"
    -D "ClassId=${CLASS_ID}"
    -D "ClassDescription=${CLASS_DESCRIPTION}"
    -o "${partial}" "${SOURCE_DIR}/installer/TarrowView.wxs"
  # wixl looks for the files' sources relative to where it runs.
  WORKING_DIRECTORY "${BIN_DIR}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS "${partial}")
  file(REMOVE "${partial}")
  message(FATAL_ERROR "package: wixl failed (${rc})")
endif()
file(RENAME "${partial}" "${OUT}")
message(STATUS "package: ${OUT} (version ${VERSION}, product {${PRODUCT_CODE}}, class ${CLASS_ID})")
