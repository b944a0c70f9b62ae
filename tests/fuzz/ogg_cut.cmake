wavetrap_fuzz_target(ogg_cut ${CMAKE_CURRENT_SOURCE_DIR}/ogg_cut.cpp wt_engine)
