# Fuzz targets of the readers of loaded data (tests/fuzz).
#
# Every build: the targets' bodies go into the unit tests, which replay the kept inputs of
# tests/fuzz/regressions/<target>/ through them.
# With PC_FUZZ=ON (clang only): one libFuzzer executable per target, fuzz_<target>, with ASan and UBSan,
# and the game library instrumented for coverage. `make fuzz` configures such a build in build-fuzz.
option(PC_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

set(PC_FUZZ_TARGET_SOURCES ${CMAKE_SOURCE_DIR}/tests/fuzz/targets.cpp)
target_sources(unit_tests PRIVATE ${PC_FUZZ_TARGET_SOURCES})

if(PC_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "PC_FUZZ needs clang (configure with CC=clang CXX=clang++)")
    endif()
    set(PC_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
    foreach(layer ${PC_LAYERS})
        target_compile_options(pc_${layer} PRIVATE ${PC_FUZZ_FLAGS})
    endforeach()
    add_library(pebblecraft_fuzz_targets STATIC ${PC_FUZZ_TARGET_SOURCES})
    target_include_directories(pebblecraft_fuzz_targets PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(pebblecraft_fuzz_targets PRIVATE ${PC_FUZZ_FLAGS})
    target_link_libraries(pebblecraft_fuzz_targets PUBLIC pebblecraft_core)
    # The names of tests/fuzz/targets.cpp's table, one executable each.
    file(STRINGS ${CMAKE_SOURCE_DIR}/tests/fuzz/targets.cpp PC_FUZZ_LINES REGEX "^ *{\"[a-z_0-9]+\", fuzz")
    set(PC_FUZZ_NAMES)
    foreach(line ${PC_FUZZ_LINES})
        string(REGEX MATCH "\"([a-z_0-9]+)\"" _ "${line}")
        list(APPEND PC_FUZZ_NAMES ${CMAKE_MATCH_1})
    endforeach()
    add_custom_target(fuzz_all)
    foreach(name ${PC_FUZZ_NAMES})
        add_executable(fuzz_${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_main.cpp)
        target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_compile_definitions(fuzz_${name} PRIVATE PC_FUZZ_TARGET="${name}")
        target_compile_options(fuzz_${name} PRIVATE ${PC_FUZZ_FLAGS})
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(fuzz_${name} PRIVATE pebblecraft_fuzz_targets)
        add_dependencies(fuzz_all fuzz_${name})
    endforeach()
endif()
