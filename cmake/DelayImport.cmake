# Makes a delay-load import library for one system DLL from mingw's ordinary
# import library: every function that library exports, bound on its first
# call instead of when the program starts.
#   cmake -DNM=... -DDLLTOOL=... -DIMPLIB=libwininet.a -DDLL=wininet.dll -DOUT=.../libwininet.a -P DelayImport.cmake
execute_process(COMMAND ${NM} -g ${IMPLIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
    message(FATAL_ERROR "${NM} cannot read ${IMPLIB}")
endif()
# "... I __imp_Name" (64-bit) or "... I __imp__Name@8" (32-bit, stdcall).
string(REGEX MATCHALL "I __imp__?[A-Za-z0-9_@?$]+" entries "${symbols}")
set(def "LIBRARY ${DLL}\nEXPORTS\n")
set(kill_at)
foreach(entry ${entries})
    string(REGEX REPLACE "^I __imp_" "" name "${entry}")
    if(name MATCHES "@[0-9]+$")
        string(REGEX REPLACE "^_" "" name "${name}")
        set(kill_at --kill-at)
    endif()
    string(APPEND def "    ${name}\n")
endforeach()
get_filename_component(folder ${OUT} DIRECTORY)
get_filename_component(stem ${OUT} NAME_WE)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${folder}/${stem}.def "${def}")
execute_process(COMMAND ${DLLTOOL} --input-def ${folder}/${stem}.def --dllname ${DLL} ${kill_at}
                        --output-delaylib ${OUT}
                RESULT_VARIABLE dlltool_result)
if(NOT dlltool_result EQUAL 0)
    message(FATAL_ERROR "${DLLTOOL} cannot make the delay-load library for ${DLL}")
endif()
