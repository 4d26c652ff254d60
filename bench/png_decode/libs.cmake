# Peers: libpng and stb_image (Debian's libpng-dev, libstb-dev); zlib comes with tarrow_core.
find_package(PNG REQUIRED)
find_library(STB_LIBRARY stb REQUIRED)
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
target_link_libraries(${BENCH_TARGET} PRIVATE PNG::PNG ${STB_LIBRARY})
target_include_directories(${BENCH_TARGET} PRIVATE ${STB_INCLUDE_DIR})
