wavetrap_fuzz_target(icy_parse ${CMAKE_CURRENT_SOURCE_DIR}/icy_parse.cpp wt_engine)
# Let libFuzzer see the coverage of the parser itself, not only of the harness.
if(WAVETRAP_FUZZ)
  target_compile_options(wt_engine PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  target_link_options(wt_engine INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
endif()
