wavetrap_fuzz_target(stream_decode ${CMAKE_CURRENT_SOURCE_DIR}/stream_decode.cpp wt_engine)
