# Compiler and linker settings for programs built without the C runtime: an
# entry point of their own, Shift-JIS texts, only system DLLs imported.

# Shift-JIS texts from UTF-8 sources; warnings are errors.
set(TOKAVI_COMMON_FLAGS -fexec-charset=CP932 -Wall -Wextra -Werror)

set(TOKAVI_FREESTANDING_FLAGS
    ${TOKAVI_COMMON_FLAGS}
    -Os
    -ffreestanding
    -fno-exceptions
    -fno-rtti
    -fno-asynchronous-unwind-tables
    -fno-stack-protector
    -fno-tree-loop-distribute-patterns
    -ffunction-sections
    -fno-ident
    -malign-data=abi)

# On x86-64 the whole image lies within 2 GiB and imports no data, so globals
# are addressed directly instead of through one pointer each (the default
# medium model), which keeps the program small.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND TOKAVI_FREESTANDING_FLAGS -mcmodel=small)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOKAVI_ENTRY_SYMBOL _WinMainCRTStartup)
else()
  set(TOKAVI_ENTRY_SYMBOL WinMainCRTStartup)
endif()

# Makes TARGET a freestanding Windows program or library importing only the
# given system DLLs. libgcc is linked statically for its stack probe.
function(tokavi_freestanding TARGET)
  cmake_parse_arguments(ARG "" "ENTRY" "LIBS" ${ARGN})
  target_compile_options(${TARGET} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${TOKAVI_FREESTANDING_FLAGS}>)
  if(NOT ARG_ENTRY)
    set(ARG_ENTRY ${TOKAVI_ENTRY_SYMBOL})
  endif()
  target_link_options(${TARGET} PRIVATE -nostdlib -s -Wl,--gc-sections -Wl,-e,${ARG_ENTRY}
                      -Wl,--no-insert-timestamp)
  target_link_libraries(${TARGET} PRIVATE ${ARG_LIBS} gcc)
endfunction()
