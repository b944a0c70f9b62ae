wavetrap_fuzz_target(settings_open ${CMAKE_CURRENT_SOURCE_DIR}/settings_open.cpp wt_settings)
