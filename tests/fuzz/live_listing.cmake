wavetrap_fuzz_target(live_listing ${CMAKE_CURRENT_SOURCE_DIR}/live_listing.cpp wt_wishes)
