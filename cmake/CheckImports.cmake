# Fails unless every DLL that EXE imports is one the system ships: the
# programs must run from a bare folder, without MinGW runtime DLLs.
# Usage: cmake -DOBJDUMP=... -DEXE=... -P CheckImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(system_dlls kernel32 user32 gdi32 comctl32 comdlg32 shell32 shlwapi advapi32 ole32 oleaut32
    uxtheme msimg32 urlmon wininet winhttp version msvcrt shdocvw ws2_32 winmm imm32 rpcrt4
    oleacc wintrust crypt32 bcrypt)
set(bad "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" base "${dll}")
  if(base MATCHES "^api-ms-win-")
    continue()
  endif()
  list(FIND system_dlls "${base}" i)
  if(i EQUAL -1)
    list(APPEND bad "${dll}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "${EXE} imports non-system DLLs: ${bad}")
endif()
list(LENGTH lines n)
message(STATUS "${EXE}: ${n} imported DLLs, all system DLLs")
