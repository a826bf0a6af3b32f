# Compiler and linker settings for programs built without the C runtime: an
# entry point of their own, Shift-JIS texts, only system DLLs imported.

# Shift-JIS texts from UTF-8 sources; warnings are errors.
set(TOKAVI_COMMON_FLAGS -fexec-charset=CP932 -Wall -Wextra -Werror)
# The same bytes from every folder a build runs in: no source or build
# folder's path in the objects (file names, debug information).
list(APPEND TOKAVI_COMMON_FLAGS -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
     -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

set(TOKAVI_FREESTANDING_FLAGS
    ${TOKAVI_COMMON_FLAGS}
    -ffreestanding
    -fno-exceptions
    -fno-rtti
    -fno-asynchronous-unwind-tables
    -fno-stack-protector
    -fno-tree-loop-distribute-patterns
    -ffunction-sections
    -fno-ident
    -malign-data=abi)

# The release programs are optimised as a whole at link time, which inlines
# and drops across the sources: about a tenth of the code goes. The objects
# keep their ordinary code too, which the test programs link as it is. The
# size-optimised build asks for the smallest code (-Oz) at both steps; the
# link step's level is the one the whole program gets.
set(TOKAVI_SMALLEST "$<$<CONFIG:MinSizeRel>:-Oz>")
list(APPEND TOKAVI_FREESTANDING_FLAGS "$<$<CONFIG:Release,MinSizeRel>:-flto;-ffat-lto-objects>"
     ${TOKAVI_SMALLEST})

# On x86-64 the whole image lies within 2 GiB and imports no data, so globals
# are addressed directly instead of through one pointer each (the default
# medium model), which keeps the program small.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND TOKAVI_FREESTANDING_FLAGS -mcmodel=small)
endif()

# The 32-bit programs run on every 32-bit Windows from Windows 95 on, whose
# machines include the 486 and the Pentium: the compiler's default processor,
# the Pentium Pro, would use instructions they lack (cmov).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND TOKAVI_FREESTANDING_FLAGS -march=i486)
endif()

# On x86 arguments are pushed, as the platform's own code does, and the
# stack is kept at the 4-byte alignment Windows gives it (nothing here
# needs more): storing each argument into a frame kept 16-byte aligned took
# a sixth of the code. Pushed arguments rule out the stack probe of frames
# over a page, so no frame may come near one; the build fails where one does.
# The check runs on the frames the link-time optimisation makes too.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOKAVI_FRAME_CHECK -Werror -Wframe-larger-than=3072)
  list(APPEND TOKAVI_FREESTANDING_FLAGS -mno-accumulate-outgoing-args -mpreferred-stack-boundary=2
       -mno-stack-arg-probe ${TOKAVI_FRAME_CHECK})
endif()

# The 32-bit programs declare that they use no structured exception
# handlers (NO_SEH): they have none, and without a table of safe handlers
# the flag is what keeps an overwritten handler from running. The 64-bit
# ones keep their handlers in tables, never on the stack. Both keep the
# linker's defaults of ASLR and DEP, and x64 its high-entropy addresses.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOKAVI_ENTRY_SYMBOL _WinMainCRTStartup)
  set(TOKAVI_LINK_HARDENING -Wl,--no-seh)
else()
  set(TOKAVI_ENTRY_SYMBOL WinMainCRTStartup)
  set(TOKAVI_LINK_HARDENING)
endif()

# Makes TARGET a freestanding Windows program or library importing only the
# given system DLLs. libgcc is linked statically for the x64 stack probe. The
# release configurations are stripped; the others keep their symbols for the
# debugger.
function(tokavi_freestanding TARGET)
  cmake_parse_arguments(ARG "" "ENTRY" "LIBS" ${ARGN})
  target_compile_options(${TARGET} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${TOKAVI_FREESTANDING_FLAGS}>)
  if(NOT ARG_ENTRY)
    set(ARG_ENTRY ${TOKAVI_ENTRY_SYMBOL})
  endif()
  target_link_options(${TARGET} PRIVATE -nostdlib "$<$<CONFIG:Release,MinSizeRel>:-s;-flto>" ${TOKAVI_SMALLEST} -Wl,--gc-sections -Wl,-e,${ARG_ENTRY}
                      -Wl,--no-insert-timestamp ${TOKAVI_LINK_HARDENING} ${TOKAVI_FRAME_CHECK})
  target_link_libraries(${TARGET} PRIVATE ${ARG_LIBS} gcc)
endfunction()

# Makes TARGET keep its read-only data (texts, tables) in its code section,
# both read-only: every section is padded to 512 bytes in the file, and one
# section fewer leaves the program a block smaller on average. The linker's
# own default script, with the read-only data moved into .text.
function(tokavi_merge_read_only_data TARGET)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-prog-name=ld
                  OUTPUT_VARIABLE linker OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${linker} --verbose OUTPUT_VARIABLE script)
  string(REGEX REPLACE "^.*\n=+\n(.*)\n=+\n.*$" "\\1" script "${script}")
  string(REGEX REPLACE "\n[ \t]*\\*\\(\\.rdata\\)\n[ \t]*\\*\\(SORT\\(\\.rdata\\$\\*\\)\\)" ""
                       merged "${script}")
  string(REPLACE "KEEP (*(.gcc_except_table))"
                 "KEEP (*(.gcc_except_table))\n    *(.rdata)\n    *(SORT(.rdata$*))" merged
                 "${merged}")
  if(merged STREQUAL script OR NOT merged MATCHES "gcc_except_table\\)\\)\n    \\*\\(\\.rdata\\)")
    message(FATAL_ERROR "the linker's default script has no .rdata to move")
  endif()
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}-merged.ld)
  file(WRITE ${file} "${merged}")
  target_link_options(${TARGET} PRIVATE -Wl,-T,${file})
endfunction()
