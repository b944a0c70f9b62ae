# The engine's sources are compiled into the target itself, so that under libFuzzer they carry
# its coverage and sanitizer instrumentation (the wt_catalogue library does not).
file(GLOB dataset_open_engine ${CMAKE_SOURCE_DIR}/core/catalogue/*.cpp)
wavetrap_fuzz_target(dataset_open ${CMAKE_CURRENT_SOURCE_DIR}/dataset_open.cpp wt_platform)
target_sources(dataset_open PRIVATE ${dataset_open_engine})
target_include_directories(dataset_open PRIVATE ${CMAKE_SOURCE_DIR}/core)
