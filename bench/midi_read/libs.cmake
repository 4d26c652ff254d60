# Peers: libsmf and portSMF (Debian's libsmf-dev and libportsmf-dev).
find_package(PkgConfig REQUIRED)
pkg_check_modules(SMF REQUIRED IMPORTED_TARGET smf)
pkg_check_modules(PORTSMF REQUIRED IMPORTED_TARGET portSMF)
target_link_libraries(${BENCH_TARGET} PRIVATE PkgConfig::SMF PkgConfig::PORTSMF)
# portSMF's headers are not warning-free.
target_compile_options(${BENCH_TARGET} PRIVATE -Wno-unused-parameter -Wno-deprecated-declarations)
