# Compile and link settings every target of this project shares.

add_library(korv_options INTERFACE)
target_compile_definitions(korv_options INTERFACE
    UNICODE _UNICODE NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
target_compile_options(korv_options INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type>)
# A setup program runs from a bare medium: no runtime DLL may be needed
# beside it, so the C and C++ runtimes and winpthreads are linked in.
target_link_options(korv_options INTERFACE -static -static-libgcc -static-libstdc++)
# Built for size: Setup.exe is downloaded, copied to media and started on
# every machine of a fleet, and its time goes into starting programs and
# waiting for them, not into its own code (scripts/bench.sh measures both;
# -Os ran no slower than -O2 or -O3 there). Every function and datum gets a
# section of its own so the linker drops what nothing calls. The objects
# also carry their link-time-optimisation form (fat objects): Setup.exe is
# linked with LTO (korv_shipped_program), test programs from the same
# objects' machine code, which keeps their links quick.
set(KORV_OPTIMIZE -Os CACHE STRING "Optimisation level of Release builds (-Os; -O2 to compare)")
target_compile_options(korv_options INTERFACE
    $<$<CONFIG:Release>:${KORV_OPTIMIZE} -flto -ffat-lto-objects>
    -ffunction-sections -fdata-sections)
# std::basic_string instantiated with the program's own code, only the
# members it uses (cmake/StringTemplates.h says why).
target_compile_options(korv_options INTERFACE
    "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/cmake/StringTemplates.h>")
target_link_options(korv_options INTERFACE -Wl,--gc-sections
    # The compiler would otherwise run LTO on any link that meets objects
    # with LTO code in them.
    $<$<AND:$<CONFIG:Release>,$<BOOL:$<TARGET_PROPERTY:KORV_SHIPPED>>>:-flto>
    $<$<AND:$<CONFIG:Release>,$<NOT:$<BOOL:$<TARGET_PROPERTY:KORV_SHIPPED>>>>:-fno-lto>)
target_include_directories(korv_options INTERFACE
    ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/resources)

# nlohmann/json comes from Debian's headers, exposed through a folder that
# holds only nlohmann/: /usr/include itself must never reach a cross build.
set(KORV_JSON_INCLUDE ${CMAKE_BINARY_DIR}/include-json)
if(EXISTS /usr/include/nlohmann/json.hpp)
    file(COPY /usr/include/nlohmann DESTINATION ${KORV_JSON_INCLUDE})
endif()
add_library(korv_json INTERFACE)
target_include_directories(korv_json SYSTEM INTERFACE ${KORV_JSON_INCLUDE})

# korv_windows_program(target): a GUI program with wWinMain.
function(korv_gui_program target)
    target_link_options(${target} PRIVATE -mwindows -municode)
    target_link_libraries(${target} PRIVATE korv_options)
endfunction()

# korv_console_program(target): a console program with wmain.
function(korv_console_program target)
    target_link_options(${target} PRIVATE -mconsole -municode)
    target_link_libraries(${target} PRIVATE korv_options)
endfunction()

# korv_shipped_program(target [SIZE_LIMIT bytes]): a program that goes onto
# the installation medium. Release builds link it with LTO and strip its
# symbol table (the symbols were two thirds of the file). SIZE_LIMIT makes
# the build fail when the linked file is larger: sizes are deterministic, so
# growth past the budget is noticed by whoever caused it.
function(korv_shipped_program target)
    cmake_parse_arguments(P "" "SIZE_LIMIT" "" ${ARGN})
    if(NOT CMAKE_BUILD_TYPE STREQUAL "Release")
        return()
    endif()
    # One partition: GCC 12 for mingw fails an internal check when the
    # program is split into several partitions (binds_to_current_def_p),
    # and one partition also gives the smallest code.
    set_target_properties(${target} PROPERTIES KORV_SHIPPED ON)
    target_link_options(${target} PRIVATE -s ${KORV_OPTIMIZE} -flto-partition=one -ffunction-sections -fdata-sections)
    set(limit 0)
    if(P_SIZE_LIMIT)
        set(limit ${P_SIZE_LIMIT})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> -DLIMIT=${limit}
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckSize.cmake
        VERBATIM)
endfunction()
