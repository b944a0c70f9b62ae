wavetrap_fuzz_target(icy_parse ${CMAKE_CURRENT_SOURCE_DIR}/icy_parse.cpp wt_engine)
