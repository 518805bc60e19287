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
