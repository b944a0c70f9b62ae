# Built from the parser's own sources so that libFuzzer's coverage reaches them.
wavetrap_fuzz_target(schedule_text ${CMAKE_CURRENT_SOURCE_DIR}/schedule_text.cpp)
target_sources(schedule_text PRIVATE ${CMAKE_SOURCE_DIR}/core/schedule/ScheduleText.cpp
                                     ${CMAKE_SOURCE_DIR}/core/schedule/LocalTime.cpp
                                     ${CMAKE_SOURCE_DIR}/core/platform/StringList.cpp)
target_include_directories(schedule_text PRIVATE ${CMAKE_SOURCE_DIR}/core)
