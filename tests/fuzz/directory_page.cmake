wavetrap_fuzz_target(directory_page ${CMAKE_CURRENT_SOURCE_DIR}/directory_page.cpp wt_wishes)
# Let libFuzzer see the coverage of the parsers themselves, not only of the harness.
if(WAVETRAP_FUZZ)
  target_compile_options(wt_wishes PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  target_link_options(wt_wishes INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
endif()
