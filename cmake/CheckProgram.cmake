# Checks the shipped program: at most LIMIT bytes, only system DLLs imported (no
# compiler runtime DLL that a user's machine would lack), and its manifest.
#   cmake -DPROGRAM=... -DLIMIT=... -DOBJDUMP=... -DWINDRES=... -P CheckProgram.cmake
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

# The manifest, resource type 24 (RT_MANIFEST) with id 1, runs the program as the
# invoking user and names no Common Controls 6 dependency, which would change
# the program's look.
execute_process(COMMAND "${WINDRES}" -J coff -O rc -i "${PROGRAM}" OUTPUT_VARIABLE resources RESULT_VARIABLE failed)
string(REGEX MATCH "\n1 24 [^\n]*\nBEGIN\n(  [^\n]*\n)*END" manifest "${resources}")
if(failed OR NOT manifest MATCHES "level=\"\"asInvoker\"\"" OR manifest MATCHES "Common-Controls")
    message(FATAL_ERROR "no manifest of type 24, id 1, that runs the program asInvoker without Common Controls 6")
endif()
