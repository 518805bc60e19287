# cmake -DFILE=path -DLIMIT=bytes -P CheckSize.cmake
# Prints the size of a shipped file and fails when it is above LIMIT
# (LIMIT 0: only prints).
file(SIZE "${FILE}" size)
get_filename_component(name "${FILE}" NAME)
math(EXPR kib "(${size} + 1023) / 1024")
if(LIMIT GREATER 0 AND size GREATER LIMIT)
    math(EXPR limit_kib "${LIMIT} / 1024")
    file(REMOVE "${FILE}")
    message(FATAL_ERROR "${name} is ${size} bytes (${kib} KiB), above its budget of ${LIMIT} bytes (${limit_kib} KiB): "
                        "find what grew with a link map (-Wl,-Map) before raising the budget")
endif()
if(LIMIT GREATER 0)
    message(STATUS "${name}: ${size} bytes (${kib} KiB), budget ${LIMIT} bytes")
else()
    message(STATUS "${name}: ${size} bytes (${kib} KiB)")
endif()
