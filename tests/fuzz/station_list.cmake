wavetrap_fuzz_target(station_list ${CMAKE_CURRENT_SOURCE_DIR}/station_list.cpp wt_directory)
if(WAVETRAP_FUZZ)
  target_compile_options(wt_directory PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()
