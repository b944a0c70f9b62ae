# Built from the parser's own sources so that libFuzzer's coverage reaches them.
wavetrap_fuzz_target(update_version ${CMAKE_CURRENT_SOURCE_DIR}/update_version.cpp)
target_sources(update_version PRIVATE ${CMAKE_SOURCE_DIR}/core/update/VersionFile.cpp
                                      ${CMAKE_SOURCE_DIR}/core/platform/StringList.cpp)
target_include_directories(update_version PRIVATE ${CMAKE_SOURCE_DIR}/core)
