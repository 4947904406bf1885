# Checks the shipped program: at most LIMIT bytes, and only system DLLs imported
# (no compiler runtime DLL that a user's machine would lack).
#   cmake -DPROGRAM=... -DLIMIT=... -DOBJDUMP=... -P CheckProgram.cmake
cmake_minimum_required(VERSION 3.25)

file(SIZE "${PROGRAM}" size)
message(STATUS "${PROGRAM}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
    message(FATAL_ERROR "the program is ${size} bytes, over its limit of ${LIMIT}")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
set(system_dlls KERNEL32 USER32 GDI32 COMDLG32 SHELL32 OLE32 MSVCRT ADVAPI32)
foreach(entry IN LISTS imports)
    string(REGEX REPLACE "DLL Name: ([^.]+)\\..*" "\\1" dll "${entry}")
    string(TOUPPER "${dll}" dll)
    message(STATUS "imports ${dll}")
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "the program imports ${dll}, which is not a system DLL")
    endif()
endforeach()
