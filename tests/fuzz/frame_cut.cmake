wavetrap_fuzz_target(frame_cut ${CMAKE_CURRENT_SOURCE_DIR}/frame_cut.cpp wt_engine)
