# The game data file: stages and story compiled from content/ by ossmire-data,
# which refuses (and so fails the build on) any stage the solver cannot clear.

file(GLOB DATA_TOOL_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tools/data/sources.cpp
  ${CMAKE_SOURCE_DIR}/tools/data/datafile.cpp)
add_library(ossmire-datatools STATIC ${DATA_TOOL_SOURCES})
target_include_directories(ossmire-datatools PUBLIC ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
# The solver judges stages by the game's own rule functions, in the core.
target_link_libraries(ossmire-datatools PUBLIC ossmire-core)
target_compile_options(ossmire-datatools PRIVATE ${OSSMIRE_WARNINGS})

add_executable(ossmire-data ${CMAKE_SOURCE_DIR}/tools/data/data_main.cpp)
target_link_libraries(ossmire-data PRIVATE ossmire-datatools)
target_compile_options(ossmire-data PRIVATE ${OSSMIRE_WARNINGS})

add_executable(ossmire-solver ${CMAKE_SOURCE_DIR}/tools/solver/solver_main.cpp)
target_link_libraries(ossmire-solver PRIVATE ossmire-datatools)
target_compile_options(ossmire-solver PRIVATE ${OSSMIRE_WARNINGS})

file(GLOB DATA_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/content/stages/*.txt ${CMAKE_SOURCE_DIR}/content/story/*.txt)
set(STAGE_FILES course underground rule)
set(HAVE_STAGES TRUE)
foreach(stages ${STAGE_FILES})
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/content/stages/${stages}.txt)
    set(HAVE_STAGES FALSE)
  endif()
endforeach()
if(HAVE_STAGES)
add_custom_command(OUTPUT ${GAME_DIR}/data.vrk
  COMMAND ossmire-data --stages ${CMAKE_SOURCE_DIR}/content/stages
          --story ${CMAKE_SOURCE_DIR}/content/story -o ${GAME_DIR}/data.vrk
  DEPENDS ossmire-data ${DATA_SOURCES}
  COMMENT "Compiling stages and story into data.vrk"
  VERBATIM)
add_custom_target(data ALL DEPENDS ${GAME_DIR}/data.vrk)
else()
  message(STATUS "content/stages/ incomplete: data.vrk is not built")
endif()

add_executable(ossmire-solver-bench ${CMAKE_SOURCE_DIR}/tools/solver/solver_bench.cpp)
target_link_libraries(ossmire-solver-bench PRIVATE ossmire-datatools)
target_compile_options(ossmire-solver-bench PRIVATE ${OSSMIRE_WARNINGS})

add_executable(ossmire-stagegen ${CMAKE_SOURCE_DIR}/tools/stagegen/stagegen.cpp)
target_link_libraries(ossmire-stagegen PRIVATE ossmire-datatools)
target_compile_options(ossmire-stagegen PRIVATE ${OSSMIRE_WARNINGS})

# Tool tests: the solver on boards with known answers, and the compiler's
# refusals of bad sources, each naming the file and line.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB TOOL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
add_executable(ossmire-tools-tests ${TOOL_TEST_SOURCES})
target_link_libraries(ossmire-tools-tests PRIVATE ossmire-datatools GTest::gtest GTest::gtest_main)
target_compile_options(ossmire-tools-tests PRIVATE ${OSSMIRE_WARNINGS})
gtest_discover_tests(ossmire-tools-tests DISCOVERY_TIMEOUT 60)

# Each line: the source kind, the file under tests/data/, and the expected
# "file:line: message" tail.
file(STRINGS ${CMAKE_SOURCE_DIR}/tests/data/refusals.list DATA_REFUSALS REGEX "^[a-z]")
foreach(entry ${DATA_REFUSALS})
  string(REGEX MATCH "^([a-z]+) +([^ ]+) +(.*)$" unused "${entry}")
  set(kind ${CMAKE_MATCH_1})
  set(file ${CMAKE_MATCH_2})
  set(expected ${CMAKE_MATCH_3})
  get_filename_component(name ${file} NAME_WE)
  add_test(NAME data.refuses.${name}
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/data/expect-refusal.sh $<TARGET_FILE:ossmire-data>
            --check-${kind} ${CMAKE_SOURCE_DIR}/tests/data/${file} "${expected}")
endforeach()
# The shipped chapters as the story window lays them out (the compiler
# refuses what cannot be shown; the checker also holds the writing rules),
# and the checker's own tests.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME story.chapters_pass_the_checker
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/story/check_story.py
          --dir ${CMAKE_SOURCE_DIR}/content/story)
add_test(NAME story.checker
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tools/story/test_check_story.py)
if(HAVE_STAGES)
add_test(NAME data.builds_whole_file
  COMMAND sh -c "test $(wc -c < ${GAME_DIR}/data.vrk) -eq 47190")
add_test(NAME data.solver_reads_map_files
  COMMAND ossmire-solver --moves ${CMAKE_SOURCE_DIR}/tests/data/corridor.map)
set_tests_properties(data.solver_reads_map_files PROPERTIES
  PASS_REGULAR_EXPRESSION "corridor.map +1  +2s +58s +58s  RRRRRRR")
add_test(NAME data.stages_keep_pace
  COMMAND ossmire-solver --pacing ${GAME_DIR}/data.vrk)
endif()
