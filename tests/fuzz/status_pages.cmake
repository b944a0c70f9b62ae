wavetrap_fuzz_target(status_pages ${CMAKE_CURRENT_SOURCE_DIR}/status_pages.cpp wt_wishes)
