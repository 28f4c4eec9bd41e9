# Everything our own targets share: language level, warnings (errors in CI), strict Qt string rules.
add_library(wrenlow_config INTERFACE)
target_compile_features(wrenlow_config INTERFACE cxx_std_20)
target_compile_options(wrenlow_config INTERFACE -Wall -Wextra -Wpedantic)
if(WRENLOW_WERROR)
    target_compile_options(wrenlow_config INTERFACE -Werror)
endif()
target_compile_definitions(wrenlow_config INTERFACE QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# The product's and tools' code also keeps every text conversion explicit. Tests leave it out so that
# expectations read as plain literals.
add_library(wrenlow_strict_qt INTERFACE)
target_compile_definitions(wrenlow_strict_qt INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_USE_QSTRINGBUILDER)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # QCoro's awaitables trip g++ 12's false positives on coroutine frames.
    target_compile_options(wrenlow_config INTERFACE -Wno-mismatched-new-delete)
endif()
if(WRENLOW_SANITIZE)
    target_compile_options(wrenlow_config INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(wrenlow_config INTERFACE -fsanitize=address,undefined)
endif()

# A static library for one subsystem folder: wrenlow_add_subsystem(NAME SOURCES... LINKS... [PRIVATE_LINKS...]).
# LINKS are what the library's headers show its users; PRIVATE_LINKS only its own sources use, so their headers
# stay out of reach of the libraries above it.
function(wrenlow_add_subsystem name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PRIVATE_LINKS" ${ARGN})
    add_library(wrenlow_${name} STATIC ${ARG_SOURCES})
    # Each library offers only its own folder ("scan/X.h" through include/<name>/scan), so a header of a
    # subsystem that a target does not link is not found at all, header-only parts included.
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(include_root ${PROJECT_BINARY_DIR}/include/${name})
    file(MAKE_DIRECTORY ${include_root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_root}/${folder} SYMBOLIC)
    target_include_directories(wrenlow_${name} PUBLIC ${include_root})
    target_link_libraries(wrenlow_${name} PUBLIC wrenlow_config ${ARG_LINKS})
    target_link_libraries(wrenlow_${name} PRIVATE wrenlow_strict_qt ${ARG_PRIVATE_LINKS})
endfunction()

# One Qt Test executable, labelled with its subsystem so that `ctest -L <subsystem>` runs it.
function(wrenlow_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE wrenlow_config Qt6::Test ${ARG_LINKS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABEL}" TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;WRENLOW_FAKEMAC=${PROJECT_SOURCE_DIR}/tests/fakemac")
endfunction()

# Every Test*.cpp of the calling folder becomes one test executable with the given label and links.
function(wrenlow_add_test_folder label)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Test*.cpp)
    foreach(source ${sources})
        get_filename_component(name ${source} NAME_WE)
        wrenlow_add_test(${name} LABEL ${label} SOURCES ${source} LINKS ${ARG_LINKS})
    endforeach()
endfunction()

# libFuzzer harnesses: built only with WRENLOW_FUZZ (clang); each runs as a ctest labelled "fuzz" for a
# bounded time, starting from the seeds in the given folder.
set(WRENLOW_FUZZ_SECONDS 30 CACHE STRING "How long each fuzz harness runs under ctest")
if(WRENLOW_FUZZ)
    target_compile_options(wrenlow_config INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(wrenlow_config INTERFACE -fsanitize=address,undefined)
    add_custom_target(fuzzers)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND (WRENLOW_SANITIZE OR WRENLOW_FUZZ))
    # clang 14's function-type check fails to assemble any coroutine ("Cannot represent a difference across
    # sections"); the rest of UndefinedBehaviorSanitizer stays on.
    target_compile_options(wrenlow_config INTERFACE -fno-sanitize=function)
endif()
function(wrenlow_add_fuzzer name)
    cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LINKS" ${ARGN})
    if(NOT WRENLOW_FUZZ)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE wrenlow_config ${ARG_LINKS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers ${name})
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME ${name} COMMAND ${name} -max_total_time=${WRENLOW_FUZZ_SECONDS} -print_final_stats=1
        -rss_limit_mb=4096 ${corpus} ${ARG_SEEDS})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
