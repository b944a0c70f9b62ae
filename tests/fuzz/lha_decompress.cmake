wavetrap_fuzz_target(lha_decompress ${CMAKE_CURRENT_SOURCE_DIR}/lha_decompress.cpp wt_settings)
