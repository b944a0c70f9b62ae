wavetrap_fuzz_target(directory_page ${CMAKE_CURRENT_SOURCE_DIR}/directory_page.cpp wt_wishes)
