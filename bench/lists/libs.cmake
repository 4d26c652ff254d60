# The generated rows and trees of the gallery.
target_link_libraries(${BENCH_TARGET} PRIVATE tarrow_gallery)
