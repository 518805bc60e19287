# GoogleTest from Debian's source package, built with the cross compiler.
set(KORV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${KORV_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${KORV_GTEST_SOURCE}: run scripts/install-deps.sh")
endif()
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KORV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)

# Every test under Wine needs the harness: the fixture boots the prefix and
# starts the display and wineserver once; its cleanup stops only those.
add_test(NAME harness.start COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/harness.sh start ${CMAKE_BINARY_DIR})
add_test(NAME harness.stop COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/harness.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(harness.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
set_tests_properties(harness.stop PROPERTIES FIXTURES_CLEANUP wine)

# korv_gtest(NAME target SOURCES ... LIBS ... [WINDOWS])
# A GoogleTest program run under Wine; each TEST becomes one ctest test.
# Afterwards <NAME>_TESTS lists the ctest names.
function(korv_gtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest korv_options)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_options(${T_NAME} PRIVATE -mconsole)
    gtest_add_tests(TARGET ${T_NAME} SOURCES ${T_SOURCES} TEST_LIST ${T_NAME}_tests)
    set_tests_properties(${${T_NAME}_tests} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
    # The ctest names, for callers that set more properties on some of them.
    set(${T_NAME}_TESTS ${${T_NAME}_tests} PARENT_SCOPE)
endfunction()
